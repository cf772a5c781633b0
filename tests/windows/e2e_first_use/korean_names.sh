#!/usr/bin/env bash
# End-to-end test of file names outside the ANSI code page, under Wine run
# with LANG=C.UTF-8 (a code page without Hangul): a movie named in Korean in
# a Korean-named folder, given on the command line,
#   - plays: its one colour fills the picture;
#   - finds the caption file of the same name beside it, shown in its colour;
#   - is kept whole in OrvesMP.list and Bookmark.ini at exit (UTF-16 files,
#     since the code page has no form for the name);
#   - plays again at the next start from the saved list (X, play).
# Usage: korean_names.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
export LANG=C.UTF-8 LC_ALL=C.UTF-8
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-names
probe_exe="$bin/state_text_probe.exe"
[ -f "$probe_exe" ] || { echo "missing $probe_exe (build the state_text_probe target)" >&2; exit 1; }
main=""
film_colour="46 139 87"  # the movie's one colour, R G B
caption='#B07050'

acp=$(timeout 20 wine "$probe_exe" "$(orves_winpath "$work/probe.bmp")" x 2>/dev/null | tr -d '\r')
echo "ANSI code page: ${acp:-unknown}"
case "$acp" in
  949 | 65001 | "") fail "the code page ($acp) would hold Korean names: this run proves nothing" ;;
  *) pass "the code page $acp has no Hangul" ;;
esac

printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=100\r\nTop=100\r\nWidth=400\r\nHeight=320\r\n" >"$ini"
folder="$work/영화 폴더"
name="한글 영화 제목"
film="$folder/$name.avi"
mkdir -p "$folder"
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "color=c=0x2E8B57:size=320x240:rate=25:duration=30" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=30" -ac 2 -c:v mpeg4 -q:v 2 -c:a pcm_s16le "$film"
{
  printf '<SAMI>\r\n<BODY>\r\n'
  printf '<SYNC Start=0><P Class=KRCC><font color="%s">가나다라 마바사 한글 자막</font>\r\n' "$caption"
  printf '<SYNC Start=30000><P Class=KRCC>&nbsp;\r\n'  # the last entry is never shown
  printf '</BODY>\r\n</SAMI>\r\n'
} | iconv -f UTF-8 -t CP949 >"$folder/$name.smi"
film_win=$(orves_winpath "$film")

press() { timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers "$@"; }

# True when the upper middle of the picture has the movie's colour; the
# screenshot is saved as $1.
shows_film() {
  local rgb
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root "$1"
  rgb=$(convert "$1" -crop "1x1+$((X + WIDTH / 2))+$((Y + frame_top + (HEIGHT - frame_top - frame_bottom) / 4))" \
    -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:)
  echo "picture colour: $rgb" >&2
  awk -v got="$rgb" -v want="$film_colour" 'BEGIN {
    split(got, g, " "); split(want, w, " ");
    for (i = 1; i <= 3; i++) if (g[i] - w[i] > 16 || w[i] - g[i] > 16) exit 1 }'
}

# Polls up to 10 s for the movie's colour.
wait_film() {
  local i
  for i in $(seq 1 20); do
    sleep 0.5
    shows_film "$1" && return 0
  done
  return 1
}

caption_pixels() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  convert "$1" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -fuzz 3% -fill black +opaque "$caption" \
    -fill white -opaque "$caption" -format '%[fx:int(mean*w*h+0.5)]' info:
}

start_player "$film_win"
if main=$(find_window "Orve's MP" 30); then
  if wait_film "$shots/names-playing.png"; then pass "the Korean-named movie plays"; else fail "no picture of the movie"; fi
  sleep 1.5  # a caption comes with the timer's next tick
  import -window root "$shots/names-caption.png"
  pixels=$(caption_pixels "$shots/names-caption.png")
  [ "${pixels:-0}" -ge 30 ] && pass "its caption file is found ($pixels px)" || fail "caption pixels: ${pixels:-0}"
  press alt+F4
  wait_player 30
else
  fail "no main window"
  wait_player 1
fi

[ "$(head -c 2 "$work/OrvesMP.list" | od -An -tx1 | tr -d ' ')" = "fffe" ] &&
  pass "OrvesMP.list turned UTF-16" || fail "OrvesMP.list has no UTF-16 mark"
profile_text "$work/OrvesMP.list" | grep -qxF "FileName=$film_win" &&
  pass "the list holds the name whole" || fail "the list lost the name: $(profile_text "$work/OrvesMP.list" | grep FileName)"
mark=$(profile_text "$work/Bookmark.ini" 2>/dev/null | grep -F "$film_win=" | cut -d= -f2)
awk -v b="${mark:-0}" 'BEGIN { exit !(b > 1) }' && pass "the bookmark holds the name whole (at $mark s)" ||
  fail "bookmark: $(profile_text "$work/Bookmark.ini" 2>/dev/null)"

start_player
if main=$(find_window "Orve's MP" 30); then
  sleep 1
  press x
  if wait_film "$shots/names-restarted.png"; then pass "the next start plays it from the list"; else fail "restart: no picture"; fi
  press alt+F4
  wait_player 30
  code=$?
  [ "$code" -eq 0 ] && pass "closed normally" || fail "exit code $code"
else
  fail "restart: no main window"
  wait_player 1
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && rm -rf "$work"
[ "$failed" -eq 0 ]
