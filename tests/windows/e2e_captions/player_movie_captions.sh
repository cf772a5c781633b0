#!/usr/bin/env bash
# End-to-end test of the captions inside a movie under Wine: the demo movie in
# an MKV with a Korean and an English SubRip track, no caption file beside it.
#   - the Korean track shows, once the player has read it;
#   - F7 switches to the English track;
#   - a caption file beside the movie wins over its tracks.
# Usage: player_movie_captions.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-movie-captions
source "$root/tests/windows/e2e_captions/caption_pixels.sh"
main=""
# Muted colours: the test picture holds only saturated ones, white and black.
korean='#B07050'
english='#5070B0'
beside='#60A060'

subrip "<font color=\"$korean\">한국어 자막 트랙</font>" >"$work/ko.srt"
subrip "<font color=\"$english\">English caption track</font>" >"$work/en.srt"
if ! ffmpeg -v error -y -i "$movie" -i "$work/ko.srt" -i "$work/en.srt" -map 0 -map 1 -map 2 -c copy \
  -metadata:s:s:0 language=kor -metadata:s:s:1 language=eng "$work/Film.mkv"; then
  echo "FAIL: could not make the MKV"
  exit 1
fi

# Starts the player on $work/Film.mkv; the caption counts of two shots, the
# second after F7, go to stdout as "k1 e1 k2 e2 b1".
play() {
  printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nLeft=100\r\nTop=100\r\nWidth=640\r\nHeight=520\r\n" >"$ini"
  start_player "$(orves_winpath "$work/Film.mkv")"
  main=$(find_window "Orve's MP" 30) || return 1
  sleep 5
  shoot "$shots/movie-captions-$1-1.png"
  press F7
  sleep 1
  shoot "$shots/movie-captions-$1-2.png"
  echo "$(count "$shots/movie-captions-$1-1.png" "$korean") $(count "$shots/movie-captions-$1-1.png" "$english")" \
    "$(count "$shots/movie-captions-$1-2.png" "$korean") $(count "$shots/movie-captions-$1-2.png" "$english")" \
    "$(count "$shots/movie-captions-$1-1.png" "$beside")"
  press alt+F4
  wait_player 30 >/dev/null
}

if counts=$(play tracks); then
  read -r k1 e1 k2 e2 _ <<<"$counts"
  echo "tracks: korean $k1, english $e1; after F7: korean $k2, english $e2"
  if [ "$k1" -ge 300 ] && [ "$e1" -le 30 ] && [ "$e2" -ge 300 ] && [ "$k2" -le 30 ]; then
    pass "the Korean track shows and F7 switches to the English one"
  else
    fail "tracks: korean $k1 -> $k2, english $e1 -> $e2"
  fi
else
  fail "no main window (tracks)"
  wait_player 1
fi

subrip "<font color=\"$beside\">A file beside the movie</font>" >"$work/Film.srt"
if counts=$(play beside); then
  read -r k1 e1 k2 e2 b1 <<<"$counts"
  echo "file beside: its colour $b1, korean $k1, english $e1"
  if [ "$b1" -ge 300 ] && [ "$k1" -le 30 ] && [ "$e1" -le 30 ]; then
    pass "a caption file beside the movie wins over its tracks"
  else
    fail "file beside: $b1, korean $k1, english $e1"
  fi
else
  fail "no main window (file beside)"
  wait_player 1
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && rm -rf "$work"
[ "$failed" -eq 0 ]
