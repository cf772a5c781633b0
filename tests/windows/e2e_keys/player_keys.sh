#!/usr/bin/env bash
# End-to-end test of the main window's keys under Wine, with real key presses
# (xdotool) on OrvesMP.exe run from a private copy:
#   - with nothing open every shortcut runs without crashing; the dialog keys
#     open their dialogs, which Escape cancels; Alt+X ends the program;
#   - while a movie plays, Space pauses it and shows "PAUSED", Up shows the
#     volume message, Right seeks 10 s forward (seen in the resume position
#     written at close);
#   - opening the same movie again resumes 5 s before where it was closed;
#   - the window drag snaps to the screen's top within 14 pixels, not 15;
#   - at the end of a movie the next entry of the list plays;
#   - a close asked for while a dialog is open ends the program normally;
#   - an address typed into the address box plays outside the playlist.
# The state text is light grey (#CCCCCC) letters at the top left of the
# picture (below the skin's top margin), over the black band above it: its
# width tells the messages apart.
# Usage: player_keys.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-keys
bookmarks="$work/Bookmark.ini"
main=""

# This version has run before (no options dialog).
fresh_settings() {
  printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=100\r\nTop=100\r\nWidth=640\r\nHeight=520\r\n" >"$ini"
}
fresh_settings

# Waits for the dialog titled $1 and cancels it with Escape; a dialog still
# filling itself may miss the first Escape, so it is pressed until it closes.
dismiss() {
  local title="$1" dialog i
  dialog=$(find_window "$title" 10) || return 1
  for i in 1 2 3 4 5; do
    sleep 1
    timeout 10 xdotool windowfocus --sync "$dialog" key --clearmodifiers Escape
    sleep 0.5
    xdotool search --onlyvisible --name "$(title_pattern "$title")" >/dev/null 2>&1 || return 0
  done
  return 1
}

press() { timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers "$@"; }

# Drags with the left button from ($1, $2) by $3 pixels down, in steps.
drag() {
  local x="$1" y="$2" dy="$3"
  timeout 10 xdotool mousemove "$x" "$y" mousedown 1
  sleep 0.2
  timeout 10 xdotool mousemove "$x" "$((y + dy / 2))"
  sleep 0.2
  timeout 10 xdotool mousemove "$x" "$((y + dy))"
  sleep 0.2
  timeout 10 xdotool mouseup 1
  sleep 0.5
}

close_player() {
  local what="$1" code
  press alt+F4
  wait_player 30
  code=$?
  if [ "$code" -eq 0 ]; then pass "$what: closed normally"; else fail "$what: exit code $code"; fi
}

# Width in pixels of the state text's letters (0 when none), from a
# screenshot saved as $1: the #CCCCCC pixels of the strip at the window's top.
text_width() {
  local shot="$1" geometry count box
  geometry=$(xdotool getwindowgeometry --shell "$main") || { echo 0; return; }
  eval "$geometry"
  import -window root "$shot"
  convert "$shot" -crop "${WIDTH}x26+${X}+$((Y + frame_top))" +repage -fuzz 4% -fill white -opaque '#CCCCCC' \
    -fill black +opaque white "$shot.mask.png"
  count=$(convert "$shot.mask.png" -format '%[fx:int(mean*w*h+0.5)]' info:)
  if [ "$count" -lt 10 ]; then echo 0; return; fi
  box=$(convert "$shot.mask.png" -format '%@' info:)
  echo "${box%%x*}"
}

# Pixels that differ between two screenshots inside the picture area, below
# the state text strip.
picture_change() {
  local a="$1" b="$2" geometry
  geometry=$(xdotool getwindowgeometry --shell "$main")
  eval "$geometry"
  compare -metric AE -fuzz 2% "$a" "$b" -crop "$((WIDTH - 20))x$((HEIGHT - 60 - frame_top - frame_bottom))+$((X + 10))+$((Y + 40 + frame_top))" null: 2>&1 |
    awk '{ print int($1) }'
}

# True when the window shows a picture: many colours, not one flat colour.
shows_picture() {
  local shot="$1" stats
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root "$shot"
  stats=$(convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format '%k %[fx:standard_deviation]' info:)
  awk -v s="$stats" 'BEGIN { split(s, a, " "); exit !(a[1] >= 50 && a[2] >= 0.15) }'
}

bookmark() { grep -F 'OrvesDemo.avi=' "$bookmarks" 2>/dev/null | head -n 1 | cut -d= -f2 | tr -d '\r'; }

now() { date +%s.%N; }

# 1. Nothing open: every shortcut that needs no dialog, then the dialog keys.
#    Left out: F1 (starts a browser) and F12 (minimises the window, which
#    would take the keys away from it).
start_player
if main=$(find_window "Orve's MP" 30); then
  sleep 1
  for key in space c x v End Right Left alt+Right alt+Left Up Down alt+Up alt+Down equal minus Tab \
    Escape Escape alt+Return F10 grave 1 2 3 bracketleft bracketright t F11 F9 ctrl+Left z ctrl+Right b \
    Delete F8 ctrl+1 ctrl+2 ctrl+3 ctrl+4 ctrl+5 shift+Right shift+Left shift+Up shift+Down shift+Home F7 \
    Return ctrl+Up ctrl+Down q w e Prior Next ctrl+Prior ctrl+Next alt+Prior alt+Next F6 ctrl+b F4 alt+F3 \
    alt+l; do
    press "$key"
  done
  sleep 1
  if alive; then pass "every shortcut with nothing open runs without a crash"; else fail "the player died on a shortcut"; fi
  for pair in "F3|동영상 파일 열기" "ctrl+o|동영상 파일 열기" "Insert|플레이리스트에 추가" "ctrl+s|플레이 리스트 저장" \
    "ctrl+F3|실시간 파일 열기" "alt+s|자막파일 저장 (싱크조절 포함)" "F2|환경 설정"; do
    key="${pair%%|*}" title="${pair#*|}"
    press "$key"
    if dismiss "$title"; then
      pass "$key opens \"$title\", Escape cancels it"
    else
      fail "$key: \"$title\" did not open, or Escape left it open"
    fi
  done
  # Mouse: dragging the window to 14 pixels below the screen's top snaps it
  # there; 15 pixels stay 15. A double click with nothing open opens a movie.
  eval "$(xdotool getwindowgeometry --shell "$main")"
  drag "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))" "$((14 - Y))"
  eval "$(xdotool getwindowgeometry --shell "$main")"
  [ "$Y" -eq 0 ] && pass "a window dragged to 14 px from the top snaps to 0" || fail "dragged to 14 px: top $Y"
  drag "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))" 15
  eval "$(xdotool getwindowgeometry --shell "$main")"
  [ "$Y" -eq 15 ] && pass "a window dragged to 15 px from the top stays there" || fail "dragged to 15 px: top $Y"
  timeout 10 xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))" click --repeat 2 --delay 80 1
  if dismiss "동영상 파일 열기"; then pass "a double click with nothing open opens a movie"; else fail "double click: no open dialog"; fi
  press alt+x
  wait_player 30
  code=$?
  if [ "$code" -eq 0 ]; then pass "Alt+X ends the program normally"; else fail "Alt+X: exit code $code"; fi
else
  fail "nothing open: no main window"
  wait_player 1
fi

# 2. A playing movie: Space, Up, Right, each with its message; the messages
#    come in growing widths, so each one's letters lie outside the last one's.
#    The keys above changed settings (the time display among them): start anew.
fresh_settings
started=$(now)
start_player "$(orves_winpath "$movie")"
if main=$(find_window "Orve's MP" 30); then
  sleep 6  # the picture is up and the playing message has gone
  # The window took the movie's aspect when it started: a taller window
  # letterboxes the picture, leaving the black band the state text is read on.
  eval "$(xdotool getwindowgeometry --shell "$main")"
  timeout 10 xdotool windowsize --sync "$main" "$WIDTH" "$((HEIGHT + 100))"
  sleep 1
  w0=$(text_width "$shots/keys-0-playing.png")
  paused_at=$(now)
  press space
  sleep 0.7
  w1=$(text_width "$shots/keys-1-paused.png")
  sleep 1
  import -window root "$shots/keys-1b-paused.png"
  still=$(picture_change "$shots/keys-1-paused.png" "$shots/keys-1b-paused.png")
  press Up
  sleep 0.7
  w2=$(text_width "$shots/keys-2-volume.png")
  press Right
  sleep 0.7
  w3=$(text_width "$shots/keys-3-seek.png")
  echo "state text widths: playing $w0, paused $w1, volume $w2, seek $w3; picture change while paused: $still"
  [ "$w0" -eq 0 ] && pass "no state text once the playing message has gone" || fail "state text while playing: width $w0"
  if [ "$w1" -ge 30 ] && [ "$w1" -le 80 ]; then pass "Space shows PAUSED"; else fail "Space: state text width $w1"; fi
  if [ "${still:-1}" -le 50 ]; then pass "the picture stands still after Space"; else fail "picture still moves: $still px"; fi
  if [ "$w2" -ge $((w1 + 20)) ]; then pass "Up shows the volume message"; else fail "Up: width $w2 after $w1"; fi
  if [ "$w3" -ge $((w2 + 40)) ]; then pass "Right shows the move message"; else fail "Right: width $w3 after $w2"; fi
  close_player "playing movie"
  b1=$(bookmark)
  latest=$(awk -v a="$started" -v b="$paused_at" 'BEGIN { print b - a }')
  echo "closed at ${b1:-none} (paused at most ${latest}s in)"
  if awk -v b="${b1:-0}" -v p="$latest" 'BEGIN { exit !(b >= 10 && b <= p + 10.5) }'; then
    pass "Right moved 10 s forward: the resume position is $b1"
  else
    fail "resume position ${b1:-none}, expected 10 .. $latest + 10"
  fi
else
  fail "movie: no main window"
  wait_player 1
fi

# 3. The same movie again resumes 5 s before the stored place.
if [ -n "${b1:-}" ]; then
  started=$(now)
  start_player "$(orves_winpath "$movie")"
  if main=$(find_window "Orve's MP" 30); then
    sleep 4
    press space
    paused_at=$(now)
    sleep 0.5
    close_player "resumed movie"
    b2=$(bookmark)
    latest=$(awk -v a="$started" -v b="$paused_at" 'BEGIN { print b - a }')
    echo "reopened: closed at ${b2:-none} (paused at most ${latest}s in)"
    if awk -v b="${b2:-0}" -v r="$b1" -v p="$latest" 'BEGIN { exit !(b >= r - 5.5 && b <= r - 5 + p + 0.5) }'; then
      pass "the movie resumed 5 s before $b1"
    else
      fail "resume: position ${b2:-none} after reopening at $b1"
    fi
  else
    fail "resume: no main window"
    wait_player 1
  fi
fi

# 4. The end of a movie plays the next entry of the list: seeking past the
#    end stops at it, the timer sees the end, stores 0 for the movie and
#    plays the next one, whose position is stored at close.
fresh_settings
list="$work/two.list"
second="$bin/demo/test-mpeg4-pcm.avi"
printf '[NUM]\r\nNUM=2\r\n[0]\r\nFileName=%s\r\n[1]\r\nFileName=%s\r\n' \
  "$(orves_winpath "$movie")" "$(orves_winpath "$second")" >"$list"
rm -f "$bookmarks"
start_player "$(orves_winpath "$list")"
if main=$(find_window "Orve's MP" 30); then
  sleep 5
  press Right Right Right
  sleep 4
  close_player "list of two movies"
  first_mark=$(bookmark)
  second_mark=$(grep -F 'test-mpeg4-pcm.avi=' "$bookmarks" 2>/dev/null | head -n 1 | cut -d= -f2 | tr -d '\r')
  echo "positions stored: first ${first_mark:-none}, second ${second_mark:-none}"
  if [ "${first_mark:-}" = "0" ] && awk -v b="${second_mark:-0}" 'BEGIN { exit !(b > 0.5) }'; then
    pass "the end of the first movie played the second"
  else
    fail "end of movie: first ${first_mark:-none}, second ${second_mark:-none}"
  fi
else
  fail "list: no main window"
  wait_player 1
fi

# 5. A close asked for from outside while a command waits in its dialog ends
#    the program normally once the dialog has gone.
fresh_settings
start_player
if main=$(find_window "Orve's MP" 30); then
  press F3
  if find_window "동영상 파일 열기" 10 >/dev/null; then
    sleep 1
    timeout 20 wine taskkill /IM OrvesMP.exe >/dev/null 2>&1
    sleep 1
    dismiss "동영상 파일 열기" >/dev/null 2>&1
    wait_player 30
    code=$?
    if [ "$code" -eq 0 ]; then pass "a close during the open dialog ends normally"; else fail "close during a dialog: exit code $code"; fi
  else
    fail "close during a dialog: no open dialog"
    press alt+x
    wait_player 10
  fi
else
  fail "close during a dialog: no main window"
  wait_player 1
fi

# 6. An address typed into Ctrl+F3's box opens outside the playlist, so F4
#    (clear the playlist) leaves it playing. The list starts empty (the runs
#    above left entries in the default list, whose current one F4 would close).
fresh_settings
rm -f "$work/OrvesMP.list"
start_player
if main=$(find_window "Orve's MP" 30); then
  press ctrl+F3
  if box=$(find_window "실시간 파일 열기" 10); then
    sleep 1
    timeout 20 xdotool windowfocus --sync "$box" type --delay 20 "$(orves_winpath "$movie")"
    timeout 10 xdotool windowfocus --sync "$box" key Return
    sleep 6
    if shows_picture "$shots/keys-address.png"; then pass "the typed address plays"; else fail "the typed address shows no picture"; fi
    press F4
    sleep 2
    if shows_picture "$shots/keys-address-f4.png"; then pass "F4 leaves the address open"; else fail "F4 closed the address"; fi
  else
    fail "Ctrl+F3: no address box"
  fi
  close_player "address"
else
  fail "address: no main window"
  wait_player 1
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && rm -rf "$work"
[ "$failed" -eq 0 ]
