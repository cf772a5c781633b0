#!/usr/bin/env bash
# End-to-end test of the window layout under Wine, in a small test skin
# (margins 4/4/20/24) made in the private work folder, with a 640x360 movie
# that has no captions (so the picture's display size is the movie's):
#   - `2` sizes the window to hold the picture at 1.5 times; `3` (twice, wider
#     than the screen) keeps the whole window on the screen;
#   - Alt+Enter covers the screen and Esc restores the earlier rectangle;
#   - a click on the skin's Stop area stops the movie (the picture freezes).
# Usage: player_layout.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-layout
main=""
# Frame of the window round the picture: the skin's margins and the movie's
# border of 3 pixels on each side.
frame_w=$((4 + 4 + 6))
frame_h=$((20 + 24 + 6))

# A solid 24-bit bitmap $1 of $2 x $3 pixels in colour $4 (RRGGBB).
bitmap() {
  python3 - "$@" <<'PY'
import struct, sys
path, w, h, rgb = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
pixel = bytes.fromhex(rgb)[::-1]
row = pixel * w + b"\0" * ((4 - w * 3 % 4) % 4)
data = row * h
header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
open(path, "wb").write(header + info + data)
PY
}

skin="$work/Skin/Test"
mkdir -p "$skin"
printf "[Sizes]\r\nWidth=400\r\nHeight=300\r\nMarginUp=20\r\nMarginDown=24\r\nMarginLeft=4\r\nMarginRight=4\r\n\
MinWidth=200\r\nMinHeight=150\r\nFullScreenBarHeight=30\r\n" >"$skin/Skin.ini"
printf "[Stop]\r\nLeft=-40\r\nTop=2\r\nWidth=30\r\nHeight=14\r\n" >"$skin/ClickAreas.ini"
for piece in UpLeft Up UpRight Left Right DownLeft Down DownRight FullScreenUpLeft FullScreenUp FullScreenUpRight; do
  bitmap "$skin/$piece.bmp" 8 8 303848
done
clip="$work/clip.avi"
cp "$movie" "$clip"
printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=20\r\nTop=20\r\nWidth=400\r\nHeight=300\r\n\
[Skin]\r\nName=Test\r\n[Layout]\r\nStartMode=0\r\nAlwaysTop=0\r\n" >"$ini"

press() { timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers "$@"; sleep 0.5; }
geometry() { eval "$(xdotool getwindowgeometry --shell "$main")"; echo "${X},${Y} ${WIDTH}x${HEIGHT}"; }

# Pixels that differ inside the picture between two screenshots 1 s apart.
picture_change() {
  local a="$shots/layout-a.png" b="$shots/layout-b.png"
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root "$a"
  sleep 1
  import -window root "$b"
  compare -metric AE -fuzz 2% "$a" "$b" -crop "$((WIDTH - 40))x$((HEIGHT - 80))+$((X + 20))+$((Y + 40))" null: 2>&1 |
    awk '{ print int($1) }'
}

expect_size() {
  local what="$1" want="$2" got
  got=$(geometry)
  [ "${got#* }" = "$want" ] && pass "$what: $want" || fail "$what: window $got, expected $want"
}

start_player "$(orves_winpath "$clip")"
if main=$(find_window "Orve's MP" 30); then
  # Playing has started once the start size fitted the 400x300 window to the
  # picture's aspect.
  for ((i = 0; i < 40; i++)); do
    [ "$(geometry)" != "20,20 400x300" ] && break
    sleep 0.25
  done
  press 2
  expect_size "2 holds the picture at 1.5 times" "$((960 + frame_w))x$((540 + frame_h))"
  # Twice the picture is wider than the 1024x768 screen: the window takes the
  # screen's width, the picture's aspect kept (height rounded up), and moves
  # back onto the screen.
  press 3
  want="0,20 1024x$((frame_h + (360 * (1024 - frame_w) + 639) / 640))"
  got=$(geometry)
  [ "$got" = "$want" ] && pass "3 keeps the whole window on the screen: $got" || fail "3: window $got, expected $want"
  press 1
  before=$(geometry)
  press alt+Return
  full=$(geometry)
  [ "$full" = "0,0 1024x768" ] && pass "Alt+Enter covers the screen" || fail "Alt+Enter: window $full"
  press Escape
  after=$(geometry)
  [ "$after" = "$before" ] && pass "Esc restores $before" || fail "Esc: window $after, was $before"
  moving=$(picture_change)
  eval "$(xdotool getwindowgeometry --shell "$main")"
  timeout 10 xdotool mousemove "$((X + WIDTH - 25))" "$((Y + 8))" click 1
  sleep 1
  still=$(picture_change)
  if [ "$moving" -gt 100 ] && [ "$still" -eq 0 ]; then
    pass "a click on the Stop area stops the movie"
  else
    fail "Stop area: $moving pixels changed while playing, $still after the click"
  fi
  timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers alt+F4
  wait_player 30
  code=$?
  [ "$code" -eq 0 ] && pass "closed normally" || fail "exit code $code"
else
  fail "no main window"
  wait_player 1
fi

echo "passed $passed, failed $failed"
[ "$failed" -eq 0 ]
