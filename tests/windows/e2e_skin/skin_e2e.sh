#!/usr/bin/env bash
# End-to-end test of the skin under Wine: two skins of solid-colour pieces
# (TestA and TestB, 300 x 200, margins 20/30/10/10) replace the shipped ones.
#   - the window has the skin's size and each frame piece shows its colour;
#   - the volume thumb (16 x 10, its left half pure blue) shows only its
#     magenta half: the blue half is cut out of the window;
#   - F11 switches to TestB, and TestB is the skin named in the settings
#     file after the program ends.
# Usage: skin_e2e.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-skin

rm -rf "$work/Skin"
# Piece colours per skin: UpLeft Up UpRight Left Right DownLeft Down DownRight.
python3 - "$work/Skin" <<'PY'
import os, struct, sys

def bmp(w, h, pixel):
    stride = (w * 3 + 3) & ~3
    out = bytearray(b'BM' + struct.pack('<IHHI', 54 + stride * h, 0, 0, 54))
    out += struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, 0, 0, 0, 0, 0)
    for y in range(h - 1, -1, -1):
        row = b''.join(bytes(reversed(pixel(x, y))) for x in range(w))
        out += row + b'\0' * (stride - len(row))
    return bytes(out)

pieces = ['UpLeft', 'Up', 'UpRight', 'Left', 'Right', 'DownLeft', 'Down', 'DownRight',
          'FullScreenUpLeft', 'FullScreenUp', 'FullScreenUpRight']
sizes = {'UpLeft': (40, 20), 'Up': (8, 20), 'UpRight': (40, 20), 'Left': (10, 8), 'Right': (10, 8),
         'DownLeft': (40, 30), 'Down': (8, 30), 'DownRight': (40, 30)}
colours = {'TestA': [(200, 0, 0), (0, 160, 0), (200, 200, 0), (0, 160, 160), (160, 0, 160), (90, 90, 90),
                     (250, 120, 0), (120, 60, 0)],
           'TestB': [(0, 200, 0), (200, 0, 0), (0, 200, 200), (200, 200, 0), (90, 90, 90), (160, 0, 160),
                     (0, 120, 250), (0, 60, 120)]}
for skin, cols in colours.items():
    d = os.path.join(sys.argv[1], skin)
    os.makedirs(d)
    for i, name in enumerate(pieces):
        w, h = sizes.get(name, (8, 8))
        c = cols[i] if i < len(cols) else (0, 0, 0)
        open(os.path.join(d, name + '.bmp'), 'wb').write(bmp(w, h, lambda x, y, c=c: c))
    thumb = lambda x, y: (0, 0, 255) if x < 8 else (255, 0, 255)
    open(os.path.join(d, 'BarVolume.bmp'), 'wb').write(bmp(16, 10, thumb))
    open(os.path.join(d, 'BarAreas.ini'), 'w').write('[Volume]\nLeft=60\nTop=-22\nRight=-60\nBottom=-12\n')
    open(os.path.join(d, 'Skin.ini'), 'w').write(
        '[Sizes]\nWidth=300\nHeight=200\nMarginUp=20\nMarginDown=30\nMarginLeft=10\nMarginRight=10\n'
        'MinWidth=200\nMinHeight=150\n')
PY
printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=100\r\nTop=100\r\nWidth=300\r\nHeight=200\r\n[Skin]\r\nName=TestA\r\n" >"$ini"

# Colours (#RRGGBB, lower case) at the window points given as "x,y" words.
colours_at() {
  local shot="$1" p
  shift
  for p in "$@"; do
    convert "$shot" -format "%[hex:p{$((X + ${p%,*})),$((Y + ${p#*,}))}] " info:
  done
  echo
}
# Frame points: UpLeft Up UpRight Left Right DownLeft Down DownRight.
points="3,3 150,3 296,3 3,100 296,100 3,196 150,196 296,196"

start_player
if main=$(find_window "Orve's MP" 30); then
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$main")"
  if [ "$WIDTH" = 300 ] && [ "$HEIGHT" = 200 ]; then pass "window has the skin's size"; else
    fail "window is ${WIDTH}x${HEIGHT}, not 300x200"; fi
  import -window root "$shots/skin-1-testa.png"
  got=$(colours_at "$shots/skin-1-testa.png" $points)
  want="C80000 00A000 C8C800 00A0A0 A000A0 5A5A5A FA7800 783C00 "
  if [ "${got^^}" = "$want" ]; then pass "frame pieces show TestA's colours"; else
    fail "frame colours: $got (want $want)"; fi
  window="${WIDTH}x${HEIGHT}+${X}+${Y}"
  blue=$(convert "$shots/skin-1-testa.png" -crop "$window" +repage -fill white -opaque '#0000FF' \
    -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:)
  magenta=$(convert "$shots/skin-1-testa.png" -crop "$window" +repage -fill white -opaque '#FF00FF' \
    -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:)
  if [ "$blue" = 0 ] && [ "$magenta" = 80 ]; then pass "thumb shows its 8x10 magenta half, blue cut out"; else
    fail "thumb pixels: $blue blue, $magenta magenta (want 0 and 80)"; fi

  timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers F11
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root "$shots/skin-2-testb.png"
  got=$(colours_at "$shots/skin-2-testb.png" 3,3 150,196)
  if [ "${got^^}" = "00C800 0078FA " ]; then pass "F11 paints TestB"; else fail "after F11: $got"; fi
  timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers alt+F4
  wait_player 30
  if profile_text "$ini" | grep -q '^Name=TestB'; then pass "TestB stored at exit"; else fail "settings: $(profile_text "$ini" | grep -A1 '^\[Skin')"; fi
else
  fail "main window not found"
  cat "$work/wine.log" >&2
fi

echo "passed $passed, failed $failed"
[ "$failed" -eq 0 ]
