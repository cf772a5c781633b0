#!/usr/bin/env bash
# End-to-end test of the playlist panel under Wine, with real key presses and
# pointer moves (xdotool) on OrvesMP.exe run from a private copy with a list
# of three movies:
#   - with the panel switched off it stays hidden;
#   - F9 switches it on: with the pointer over its zone it shows, one row per
#     entry, and a screenshot shows its white captions on black;
#   - a right click on the list opens the playlist menu;
#   - a click on a row and Del remove that entry (the playing one: the
#     picture goes), and a double click on a row plays it;
#   - the panel goes once the pointer leaves its zone;
#   - its "X" label switches it off under the pointer;
#   - the list in force is saved to OrvesMP.list at exit and is there again
#     at the next start.
# playlist_probe.exe reads the panel (shown, rows, screen rectangle).
# Usage: player_playlist.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-playlist
probe_exe="$bin/playlist_probe.exe"
[ -f "$probe_exe" ] || { echo "missing $probe_exe (build the playlist_probe target)" >&2; exit 1; }

printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=100\r\nTop=100\r\nWidth=640\r\nHeight=520\r\n" >"$ini"
list="$work/three.list"
printf '[NUM]\r\nNUM=3\r\n[0]\r\nFileName=%s\r\n[1]\r\nFileName=%s\r\n[2]\r\nFileName=%s\r\n' \
  "$(orves_winpath "$movie")" "$(orves_winpath "$bin/demo/test-mpeg4-pcm.avi")" \
  "$(orves_winpath "$bin/demo/test-mpeg1.mpg")" >"$list"

# Sets: shown rows left top right bottom menu.
probe() {
  local line
  line=$(timeout 10 wine "$probe_exe" 2>/dev/null | tr -d '\r')
  read -r shown rows left top right bottom menu <<<"${line:-none 0 0 0 0 0 0}"
}

# White pixels inside the panel's rectangle of a screenshot saved as $1.
white_in_panel() {
  import -window root "$1"
  convert "$1" -crop "$((right - left))x$((bottom - top))+${left}+${top}" +repage -fuzz 10% -fill white \
    -opaque white -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:
}

away() { timeout 10 xdotool mousemove 1000 740; }

# True when the right half of the window, beside the panel, shows a picture
# (many colours) rather than one flat colour; the screenshot is saved as $1.
shows_picture() {
  local stats
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root "$1"
  stats=$(convert "$1" -crop "$((WIDTH / 2))x$((HEIGHT / 2))+$((X + WIDTH / 2))+$((Y + HEIGHT / 4))" +repage \
    -format '%k %[fx:standard_deviation]' info:)
  awk -v s="$stats" 'BEGIN { split(s, a, " "); exit !(a[1] >= 50 && a[2] >= 0.15) }'
}

start_player "$(orves_winpath "$list")"
if main=$(find_window "Orve's MP" 30); then
  away
  sleep 1
  probe
  [ "$shown" = 0 ] && pass "switched off, the panel is hidden" || fail "switched off: shown=$shown"
  timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers F9
  sleep 0.3
  probe
  timeout 10 xdotool mousemove "$((left + 20))" "$((top + 38))"
  sleep 1.5  # longer than the ticks the switch-on keeps it up for
  probe
  echo "panel: shown=$shown rows=$rows at $left,$top - $right,$bottom"
  [ "$shown" = 1 ] && pass "F9 and the pointer over its zone show the panel" || fail "F9: shown=$shown"
  [ "$rows" = 3 ] && pass "one row per entry" || fail "rows: $rows, expected 3"
  white=$(white_in_panel "$shots/playlist-shown.png")
  [ "${white:-0}" -ge 40 ] && pass "the panel shows white captions ($white px)" || fail "white pixels: ${white:-0}"
  timeout 10 xdotool click 3
  sleep 0.5
  probe
  [ "$menu" = 1 ] && pass "a right click on the list opens its menu" || fail "right click: no menu"
  timeout 10 xdotool key Escape
  timeout 10 xdotool click 1
  sleep 0.3
  timeout 10 xdotool key --clearmodifiers Delete
  sleep 0.5
  probe
  [ "$rows" = 2 ] && pass "Del removes the selected row" || fail "after Del: $rows rows"
  if shows_picture "$shots/playlist-deleted.png"; then fail "the deleted playing entry still shows"; fi
  timeout 10 xdotool click --repeat 2 --delay 80 1
  playing=no
  for _ in 1 2 3 4 5 6 7 8; do
    sleep 0.5
    shows_picture "$shots/playlist-double-click.png" && { playing=yes; break; }
  done
  [ "$playing" = yes ] && pass "a double click plays the row" || fail "double click: no picture"
  away
  sleep 1
  probe
  [ "$shown" = 0 ] && pass "the panel goes when the pointer leaves" || fail "pointer away: shown=$shown"
  timeout 10 xdotool mousemove "$((right - 15))" "$((top + 15))"
  sleep 0.6
  probe
  was="$shown"
  timeout 10 xdotool click 1
  sleep 0.6
  probe
  [ "$was" = 1 ] && [ "$shown" = 0 ] && pass "the X label switches the panel off" ||
    fail "X label: shown $was before, $shown after"
  timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers alt+F4
  wait_player 30
  code=$?
  [ "$code" -eq 0 ] && pass "closed normally" || fail "exit code $code"
  saved=$(grep -a '^NUM=' "$work/OrvesMP.list" 2>/dev/null | tr -d '\r')
  [ "$saved" = "NUM=2" ] && pass "the list is saved at exit" || fail "OrvesMP.list: ${saved:-missing}"
  start_player
  if main=$(find_window "Orve's MP" 30); then
    probe
    [ "$rows" = 2 ] && pass "the next start loads the saved list" || fail "next start: $rows rows"
    timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers alt+F4
    wait_player 30
  else
    fail "next start: no main window"
  fi
else
  fail "no main window"
  wait_player 1
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && rm -rf "$work"
[ "$failed" -eq 0 ]
