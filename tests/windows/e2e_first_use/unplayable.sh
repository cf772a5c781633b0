#!/usr/bin/env bash
# End-to-end test of a file that cannot be played, under Wine:
#   - given on the command line, the state text says "CANNOT PLAY THIS FILE"
#     with its name: the letters on screen measure as that message drawn in
#     the state text's font by state_text_probe.exe, not as the playing one;
#   - Space does not claim to play it: the same message comes again;
#   - in a list, the player goes on to the next entry, which plays.
# The state text is light grey (#CCCCCC) letters at the top left of the
# picture area, below the skin's top margin.
# Usage: unplayable.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-unplayable
probe_exe="$bin/state_text_probe.exe"
[ -f "$probe_exe" ] || { echo "missing $probe_exe (build the state_text_probe target)" >&2; exit 1; }
main=""

printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=100\r\nTop=100\r\nWidth=640\r\nHeight=520\r\n" >"$ini"
broken="$work/broken.avi"
for _ in $(seq 1 400); do printf 'this is no movie, only text with a movie name\n'; done >"$broken"

press() { timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers "$@"; }

# Width of the #CCCCCC letters in image $1 (0 when none).
letters_width() {
  convert "$1" -fuzz 4% -fill white -opaque '#CCCCCC' -fill black +opaque white "$1.mask.png"
  local count box
  count=$(convert "$1.mask.png" -format '%[fx:int(mean*w*h+0.5)]' info:)
  if [ "$count" -lt 10 ]; then echo 0; return; fi
  box=$(convert "$1.mask.png" -format '%@' info:)
  echo "${box%%x*}"
}

# The width the message $1 has when drawn as the state text draws it.
expected_width() {
  local image="$work/probe-$2.bmp"
  timeout 20 wine "$probe_exe" "$(orves_winpath "$image")" "$1" >/dev/null 2>&1
  letters_width "$image"
}

# Width of the state text on screen, from a screenshot saved as $1.
state_width() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root -crop "${WIDTH}x26+${X}+$((Y + frame_top))" +repage "$1"
  letters_width "$1"
}

# Polls up to $2 seconds for a state text of width $1 (give or take a
# pixel); the widths seen go to stdout.
wait_width() {
  local want="$1" i w
  for ((i = 0; i < $2 * 4; i++)); do
    w=$(state_width "$shots/unplayable-$i.png")
    echo -n "$w "
    [ "$w" -ge $((want - 1)) ] && [ "$w" -le $((want + 1)) ] && return 0
    sleep 0.25
  done
  return 1
}

cannot=$(expected_width 'CANNOT PLAY THIS FILE : "broken.avi"' cannot)
playing=$(expected_width 'PLAYING : (1/1) "broken.avi"' playing)
echo "expected widths: cannot play $cannot, playing $playing"
[ "${cannot:-0}" -gt 0 ] && [ $((cannot - playing)) -gt 4 ] || fail "the two messages cannot be told apart"

start_player "$(orves_winpath "$broken")"
if main=$(find_window "Orve's MP" 30); then
  seen=$(wait_width "$cannot" 8) && pass "the state text says it cannot play the file" ||
    fail "no cannot-play message (widths seen: $seen)"
  sleep 3  # the message has gone
  press space
  seen=$(wait_width "$cannot" 3) && pass "Space says again that it cannot play" ||
    fail "Space: widths seen $seen"
  case " $seen " in *" $playing "*) fail "Space claimed to play" ;; esac
  press alt+F4
  wait_player 30
  code=$?
  [ "$code" -eq 0 ] && pass "closed normally" || fail "exit code $code"
else
  fail "no main window"
  wait_player 1
fi

# A list of the broken file and a movie: the movie plays.
list="$work/two.list"
cp "$movie" "$work/zz-movie.avi"
printf '[NUM]\r\nNUM=2\r\n[0]\r\nFileName=%s\r\n[1]\r\nFileName=%s\r\n' \
  "$(orves_winpath "$broken")" "$(orves_winpath "$work/zz-movie.avi")" >"$list"
start_player "$(orves_winpath "$list")"
if main=$(find_window "Orve's MP" 30); then
  playing=no
  for _ in $(seq 1 20); do
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$main")"
    import -window root "$shots/unplayable-list.png"
    colours=$(convert "$shots/unplayable-list.png" -crop "$((WIDTH / 2))x$((HEIGHT / 2))+$((X + WIDTH / 4))+$((Y + HEIGHT / 4))" \
      +repage -format '%k' info:)
    [ "${colours:-0}" -ge 50 ] && { playing=yes; break; }
  done
  [ "$playing" = yes ] && pass "in a list the next entry plays" || fail "list: no picture"
  press alt+F4
  wait_player 30
else
  fail "list: no main window"
  wait_player 1
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && rm -rf "$work"
[ "$failed" -eq 0 ]
