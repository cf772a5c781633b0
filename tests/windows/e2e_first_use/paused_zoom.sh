#!/usr/bin/env bash
# End-to-end test of a layout change while paused, under Wine: a movie of one
# colour with a one-line caption plays, Space pauses it, and `2` zooms the
# window to 1.5 times while it stands still. Afterwards
#   - the whole new picture area shows the movie's colour (no old small
#     picture over black);
#   - the caption's pixel rows form one band: one caption, no old copy;
#   - no pixel of the thumbs' edge colour is left inside the picture area
#     (the old thumbs are gone);
#   - Space plays on from there.
# Usage: paused_zoom.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-paused
main=""
film_colour="46 139 87"  # R G B
caption='#B07050'
thumb_edge='#2F9BFF'  # the Default skin's thumb rim

printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=20\r\nTop=20\r\nWidth=400\r\nHeight=320\r\n\
[Layout]\r\nAlwaysTop=0\r\nStartMode=2\r\n" >"$ini"
film="$work/still.avi"
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "color=c=0x2E8B57:size=320x240:rate=25:duration=30" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=30" -ac 2 -c:v mpeg4 -q:v 2 -c:a pcm_s16le "$film"
{
  printf '<SAMI>\r\n<BODY>\r\n'
  printf '<SYNC Start=0><P Class=KRCC><font color="%s">가나다라 마바사 자막 한 줄</font>\r\n' "$caption"
  printf '<SYNC Start=30000><P Class=KRCC>&nbsp;\r\n'
  printf '</BODY>\r\n</SAMI>\r\n'
} | iconv -f UTF-8 -t CP949 >"$work/still.smi"

press() { timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers "$@"; sleep 1; }

# The picture area of screenshot $1 (the window less the skin's frame) as $2.
picture_area() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root "$1"
  convert "$1" -crop "$((WIDTH - 12))x$((HEIGHT - frame_top - frame_bottom))+$((X + 6))+$((Y + frame_top))" \
    +repage "$2"
}

pixels_of() {
  convert "$1" -fuzz "${3:-3%}" -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}

# Share (percent) of the picture area in the movie's colour.
film_share() {
  local hex
  hex=$(printf '#%02X%02X%02X' $film_colour)
  convert "$1" -fuzz 8% -fill black +opaque "$hex" -fill white -opaque "$hex" -format '%[fx:int(100*mean+0.5)]' info:
}

# Rows holding caption pixels in $1, and the bands they form (runs of rows
# with gaps of at most 2 rows): "rows bands".
caption_rows() {
  convert "$1" -fuzz 3% -fill black +opaque "$caption" -fill white -opaque "$caption" -scale "1x$(identify -format %h "$1")!" \
    -depth 8 txt:- | awk -F'[(,:]' 'NR > 1 && $0 !~ /#000000/ { print $2 }' | awk '
      { if (NR == 1 || $1 > last + 3) bands++; rows++; last = $1 }
      END { print rows + 0, bands + 0 }'
}

start_player "$(orves_winpath "$film")"
if main=$(find_window "Orve's MP" 30); then
  sleep 4
  press space
  sleep 1
  picture_area "$shots/paused-before.png" "$shots/paused-before-area.png"
  press 2
  sleep 1
  picture_area "$shots/paused-zoomed.png" "$shots/paused-zoomed-area.png"
  geometry=$(xdotool getwindowgeometry "$main" | tr -d '\n')
  share=$(film_share "$shots/paused-zoomed-area.png")
  read -r rows bands <<<"$(caption_rows "$shots/paused-zoomed-area.png")"
  read -r rows_before bands_before <<<"$(caption_rows "$shots/paused-before-area.png")"
  thumbs=$(pixels_of "$shots/paused-zoomed-area.png" "$thumb_edge" 4%)
  echo "zoomed while paused: $geometry; movie colour over $share% of the picture area;" \
    "caption $rows rows in $bands band(s) (before: $rows_before in $bands_before); thumb rim pixels $thumbs"
  [ "${share:-0}" -ge 80 ] && pass "the picture fills its new size" || fail "the movie's colour covers only ${share:-0}%"
  [ "${bands:-0}" -eq 1 ] && [ "${rows:-0}" -gt "${rows_before:-0}" ] && pass "one caption, at the new size ($rows rows)" ||
    fail "caption: $rows rows in $bands bands after the zoom ($rows_before rows before)"
  [ "${thumbs:-1}" -eq 0 ] && pass "no old thumb over the picture" || fail "$thumbs thumb rim pixels over the picture"
  press space
  sleep 1
  picture_area "$shots/paused-resumed.png" "$shots/paused-resumed-area.png"
  share=$(film_share "$shots/paused-resumed-area.png")
  [ "${share:-0}" -ge 80 ] && pass "Space plays on" || fail "after Space: movie colour over ${share:-0}%"
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
