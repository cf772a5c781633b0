#!/usr/bin/env bash
# End-to-end test of caption files other than SAMI under Wine, each run with
# a copy of the demo movie and its captions in a folder of its own:
#   - a SubRip file alone beside the movie shows in its font colour in the
#     lower part of the picture;
#   - movie.ko.srt and movie.en.srt both load, one per language, and F7
#     switches from the Korean to the English one;
#   - an ASS cue with {\an8} is drawn in the upper half of the picture;
#   - a 120-character English caption stays inside the picture: no caption
#     pixel in the outer 2 % on either side.
# Usage: player_caption_formats.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-caption-formats
source "$root/tests/windows/e2e_captions/caption_pixels.sh"
main=""
# Muted colours: the test picture holds only saturated ones, white and black.
korean='#B07050'
english='#5070B0'
long='#60A060'

margin_left=$(skin_margin MarginLeft)
margin_right=$(skin_margin MarginRight)

# Starts the player on $1/Film.avi and waits for its first captions.
open_movie() {
  printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=100\r\nTop=100\r\nWidth=640\r\nHeight=520\r\n" >"$ini"
  cp "$movie" "$1/Film.avi"
  start_player "$(orves_winpath "$1/Film.avi")"
  main=$(find_window "Orve's MP" 30) || return 1
  sleep 5
}

close_movie() {
  press alt+F4
  wait_player 30
  local code=$?
  [ "$code" -eq 0 ] || fail "exit code $code"
}

# The picture in a shot of the window's inside: left, top, width, height
# (the skin's margins and the movie's border of 3 pixels; 640x360 movie).
picture() {
  local w
  w=$(($(identify -format '%w' "$1") + 8 - margin_left - margin_right - 6))
  echo "$((margin_left - 4 + 3)) $((frame_top - 4 + 3)) $w $((w * 360 / 640))"
}

mkdir -p "$work/alone" "$work/pair" "$work/ass" "$work/long"

# A SubRip file alone.
subrip "<font color=\"$korean\">가나다라 SubRip 자막</font>" >"$work/alone/Film.srt"
if open_movie "$work/alone"; then
  shoot "$shots/formats-1-srt.png"
  n=$(count "$shots/formats-1-srt.png" "$korean")
  read -r _ h _ y <<<"$(box "$shots/formats-1-srt.png" "$korean")"
  read -r _ ptop _ pheight <<<"$(picture "$shots/formats-1-srt.png")"
  echo "srt alone: $n px at rows $y+$h, picture rows $ptop+$pheight"
  if [ "$n" -ge 300 ] && [ "$((2 * (y - ptop)))" -ge "$pheight" ]; then
    pass "a SubRip file alone shows in its colour in the lower picture"
  else
    fail "SubRip alone: $n px at row $y"
  fi
  close_movie
else
  fail "no main window (SubRip alone)"
  wait_player 1
fi

# A Korean and an English SubRip file.
subrip "<font color=\"$korean\">한국어 자막입니다</font>" >"$work/pair/Film.ko.srt"
subrip "<font color=\"$english\">English captions</font>" >"$work/pair/Film.en.srt"
if open_movie "$work/pair"; then
  shoot "$shots/formats-2-korean.png"
  k1=$(count "$shots/formats-2-korean.png" "$korean")
  e1=$(count "$shots/formats-2-korean.png" "$english")
  press F7
  sleep 1
  shoot "$shots/formats-2-english.png"
  k2=$(count "$shots/formats-2-english.png" "$korean")
  e2=$(count "$shots/formats-2-english.png" "$english")
  echo "ko + en: korean $k1, english $e1; after F7: korean $k2, english $e2"
  if [ "$k1" -ge 300 ] && [ "$e1" -le 30 ] && [ "$e2" -ge 300 ] && [ "$k2" -le 30 ]; then
    pass "Film.ko.srt shows first and F7 switches to Film.en.srt"
  else
    fail "ko/en: korean $k1 -> $k2, english $e1 -> $e2"
  fi
  close_movie
else
  fail "no main window (ko/en)"
  wait_player 1
fi

# An ASS cue placed at the top (ASS colours are blue first).
bgr="${english:5:2}${english:3:2}${english:1:2}"
{
  printf '[Script Info]\r\nScriptType: v4.00+\r\n\r\n[Events]\r\n'
  printf 'Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n'
  printf 'Dialogue: 0,0:00:00.00,0:00:24.00,Default,,0,0,0,,{\\an8}{\\c&H%s&}Top of the picture\r\n' "$bgr"
} >"$work/ass/Film.ass"
if open_movie "$work/ass"; then
  shoot "$shots/formats-3-ass-top.png"
  n=$(count "$shots/formats-3-ass-top.png" "$english")
  read -r _ h _ y <<<"$(box "$shots/formats-3-ass-top.png" "$english")"
  read -r _ ptop _ pheight <<<"$(picture "$shots/formats-3-ass-top.png")"
  echo "ass top: $n px at rows $y+$h, picture rows $ptop+$pheight"
  if [ "$n" -ge 300 ] && [ "$y" -ge "$ptop" ] && [ "$((2 * (y + h - ptop)))" -le "$pheight" ]; then
    pass "an ASS {\\an8} cue shows in the upper half of the picture"
  else
    fail "ASS top: $n px at rows $y+$h"
  fi
  close_movie
else
  fail "no main window (ASS)"
  wait_player 1
fi

# A 120-character English line.
line="This caption line is far too long to fit across the picture in one piece, so it has to be wrapped into"
line="$line more lines now"
subrip "<font color=\"$long\">${line:0:120}</font>" >"$work/long/Film.srt"
if open_movie "$work/long"; then
  shot="$shots/formats-4-long.png"
  shoot "$shot"
  n=$(count "$shot" "$long")
  read -r pleft ptop pwidth pheight <<<"$(picture "$shot")"
  strip=$((pwidth * 2 / 100))
  left=$(mask "$shot" "$long" -crop "${strip}x${pheight}+${pleft}+${ptop}" +repage -format '%[fx:int(mean*w*h+0.5)]' info:)
  right=$(mask "$shot" "$long" -crop "${strip}x${pheight}+$((pleft + pwidth - strip))+${ptop}" +repage \
    -format '%[fx:int(mean*w*h+0.5)]' info:)
  echo "long line: $n px; in the outer ${strip} px: left $left, right $right"
  if [ "$n" -ge 500 ] && [ "$left" -le 2 ] && [ "$right" -le 2 ]; then
    pass "a 120-character caption stays clear of the picture's outer 2 %"
  else
    fail "long line: $n px, $left left and $right right in the outer 2 %"
  fi
  close_movie
else
  fail "no main window (long line)"
  wait_player 1
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && rm -rf "$work"
[ "$failed" -eq 0 ]
