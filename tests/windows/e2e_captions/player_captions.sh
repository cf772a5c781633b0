#!/usr/bin/env bash
# End-to-end test of the captions on screen under Wine: a playing movie with
# a caption file of the same name beside it shows the caption in its font
# colour in the lower part of the picture, with a dark outline around the
# letters; F7 switches to the English text (another colour); position preset
# 3 (E, position 0) puts the caption in a black band under the picture; F8
# hides it; F6 switches the smoothing. Pixels of each colour are counted in screenshots.
# Usage: player_captions.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-captions
main=""
# Muted colours: the test picture holds only saturated ones, white and black.
korean='#B07050'
english='#5070B0'

printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=100\r\nTop=100\r\nWidth=640\r\nHeight=520\r\n" >"$ini"
cp "$movie" "$work/Captions.avi"
# Twelve entries per language (more than 10, so F7 can switch), one text each.
{
  printf '<SAMI>\r\n<BODY>\r\n'
  for i in $(seq 0 11); do
    printf '<SYNC Start=%d><P Class=KRCC><font color="%s">가나다라 마바사 ABC</font>\r\n' "$((i * 2000))" "$korean"
    printf '<SYNC Start=%d><P Class=ENCC><font color="%s">English caption text</font>\r\n' "$((i * 2000))" "$english"
  done
  printf '</BODY>\r\n</SAMI>\r\n'
} | iconv -f UTF-8 -t CP949 >"$work/Captions.smi"

source "$root/tests/windows/e2e_captions/caption_pixels.sh"

# White where $1 is black (the outline; the test picture has no black there).
dark() { convert "$1" -fuzz 10% -fill white -opaque black -fill black +opaque white "$2"; }

# Share (percent) of the 1-pixel ring around the crisp letters of colour $2
# that is black.
outline_share() {
  local shot="$1" colour="$2" ring both
  mask "$shot" "$colour" "$shot.letters.png"
  convert "$shot.letters.png" -morphology Dilate Square:1 "$shot.letters.png" -compose Difference -composite \
    "$shot.ring.png"
  dark "$shot" "$shot.dark.png"
  convert "$shot.ring.png" "$shot.dark.png" -compose Multiply -composite "$shot.both.png"
  ring=$(convert "$shot.ring.png" -format '%[fx:int(mean*w*h+0.5)]' info:)
  both=$(convert "$shot.both.png" -format '%[fx:int(mean*w*h+0.5)]' info:)
  [ "$ring" -gt 0 ] && echo $((both * 100 / ring)) || echo 0
}

# Bright pixels other than the letters of colour $2 in the rows of those
# letters, across the whole width: the picture's pixels beside the caption.
picture_in_rows() {
  local shot="$1" colour="$2" w h x y
  read -r w h x y <<<"$(box "$shot" "$colour")"
  convert "$shot" -crop "10000x$((h + 4))+0+$((y - 2))" +repage -fuzz 3% -fill black -opaque "$colour" \
    -colorspace Gray -threshold 20% -format '%[fx:int(mean*w*h+0.5)]' info:
}

start_player "$(orves_winpath "$work/Captions.avi")"
if main=$(find_window "Orve's MP" 30); then
  sleep 5
  shoot "$shots/captions-1-korean.png"
  k1=$(count "$shots/captions-1-korean.png" "$korean")
  read -r _ h1 _ y1 <<<"$(box "$shots/captions-1-korean.png" "$korean")"
  rows1=$(picture_in_rows "$shots/captions-1-korean.png" "$korean")
  press F6  # crisp letters: the ring around them is the outline alone
  sleep 1
  shoot "$shots/captions-1-crisp.png"
  ring=$(outline_share "$shots/captions-1-crisp.png" "$korean")
  press F7
  sleep 1
  shoot "$shots/captions-2-english.png"
  k2=$(count "$shots/captions-2-english.png" "$korean")
  e2=$(count "$shots/captions-2-english.png" "$english")
  press e
  sleep 2
  shoot "$shots/captions-3-band.png"
  e3=$(count "$shots/captions-3-band.png" "$english")
  rows3=$(picture_in_rows "$shots/captions-3-band.png" "$english")
  press F8
  sleep 1
  shoot "$shots/captions-4-hidden.png"
  e4=$(count "$shots/captions-4-hidden.png" "$english")
  height=$(identify -format '%h' "$shots/captions-1-korean.png")
  echo "korean: $k1 px, rows $y1+$h1 of $height, outline ring ${ring}% black, picture in its rows $rows1;" \
    "after F7: korean $k2, english $e2; band: english $e3, picture in its rows $rows3; after F8: $e4"
  if [ "$k1" -ge 300 ] && [ "$((y1 * 2))" -ge "$height" ]; then
    pass "the caption shows in its colour in the lower part of the picture"
  else
    fail "caption: $k1 px at row $y1 of $height"
  fi
  [ "$ring" -ge 80 ] && pass "a dark outline surrounds the letters" || fail "outline: ${ring}% of the ring is black"
  if [ "$e2" -ge 300 ] && [ "$k2" -le 30 ]; then pass "F7 shows the English text"; else fail "F7: korean $k2, english $e2"; fi
  if [ "$e3" -ge 300 ] && [ "$rows1" -ge 2000 ] && [ "$rows3" -le $((rows1 / 20)) ]; then
    pass "position 0 puts the caption in a black band under the picture"
  else
    fail "band: english $e3 px, picture pixels in its rows $rows3 (over the picture $rows1)"
  fi
  [ "$e4" -le 30 ] && pass "F8 hides the caption" || fail "F8: $e4 px of the caption left"
  press alt+F4
  wait_player 30
  code=$?
  [ "$code" -eq 0 ] && pass "closed normally" || fail "exit code $code"
else
  fail "no main window"
  wait_player 1
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && rm -rf "$work"
[ "$failed" -eq 0 ]
