#!/usr/bin/env bash
# End-to-end test of the player's start-up and lifecycle under Wine.
# Runs OrvesMP.exe from a private copy (so its settings file starts fresh),
# drives it with xdotool and checks what a user would see and keep:
#   - a first start opens the options dialog once; the next start does not;
#   - a movie given on the command line plays (screenshot pixels, not codes);
#   - closing the window ends the program normally and writes every settings
#     section in the objects' order; a read-only settings file stays as it was;
#   - the install words end the program without showing the window;
#   - missing, binary and garbage input neither crash nor hang the player.
# Usage: player_lifecycle.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-shell

# The options dialog "환경 설정", dismissed with Escape when it shows.
dismiss_options() {
  local id
  id=$(find_window "환경 설정" "$1") || return 1
  timeout 10 xdotool windowfocus --sync "$id" key --clearmodifiers Escape
  return 0
}

# Closes the main window as a user would (Alt+F4) and expects a normal end.
close_player() {
  local what="$1" id code
  id=$(find_window "Orve's MP" 10) || { fail "$what: no main window to close"; wait_player 1; return 1; }
  timeout 10 xdotool windowfocus --sync "$id" key --clearmodifiers alt+F4
  wait_player 30
  code=$?
  if [ "$code" -eq 0 ]; then pass "$what: closed normally"; else fail "$what: exit code $code"; fi
}

# True when the screen area of window $1 shows a picture: many colours and
# clearly not one flat colour.
shows_picture() {
  local id="$1" shot="$2" geometry x y w h stats
  geometry=$(xdotool getwindowgeometry --shell "$id") || return 1
  eval "$geometry"
  x=$X y=$Y w=$WIDTH h=$HEIGHT
  import -window root "$shot"
  stats=$(convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage -format '%k %[fx:standard_deviation]' info:)
  echo "picture at ${w}x${h}+${x}+${y}: colours and deviation $stats"
  awk -v s="$stats" 'BEGIN { split(s, a, " "); exit !(a[1] >= 50 && a[2] >= 0.15) }'
}

sections_in_order() {
  profile_text "$ini" | grep -o '^\[[^]]*\]' | tr -d '[]' | paste -sd, -
}
expected_sections="Orve's MP,Main,Skin,PlayList,Layout,OrveCaption,Media,Movie,StateText,Config"

# 1. First start with a movie: options dialog once, the picture plays, every
#    section written at the normal end, in the order the objects write them.
start_player "$(orves_winpath "$movie")"
if dismiss_options 20; then pass "first start opens the options dialog"; else fail "first start: no options dialog"; fi
main=$(find_window "Orve's MP" 20) || fail "first start: no main window"
# Opening the movie and its first frame take a second or two; allow a slow machine more.
picture=""
for attempt in 1 2 3 4 5 6; do
  sleep 2
  if [ -n "${main:-}" ] && shows_picture "$main" "$shots/first-start.png"; then
    picture=yes
    break
  fi
done
if [ -n "$picture" ]; then
  pass "the movie's picture is on screen"
else
  fail "no picture on screen (see $shots/first-start.png)"
fi
close_player "first start"
if [ "$(sections_in_order)" = "$expected_sections" ]; then
  pass "settings file has every section in order"
else
  fail "settings sections: $(sections_in_order)"
fi
profile_text "$ini" | grep -q '^Version=2.33' && pass "version stored" || fail "version not stored"

# 2. The next start of the same version opens no options dialog.
start_player "$(orves_winpath "$movie")"
find_window "Orve's MP" 20 >/dev/null || fail "second start: no main window"
sleep 3
if xdotool search --onlyvisible --name "^환경 설정\$" >/dev/null 2>&1; then
  fail "second start opened the options dialog again"
  dismiss_options 1
else
  pass "second start opens no options dialog"
fi
close_player "second start"

# 3. A read-only settings file is left byte for byte as it was.
chmod a-w "$ini"
before=$(sha256sum <"$ini")
start_player "$(orves_winpath "$movie")"
dismiss_options 3
close_player "read-only settings"
[ "$before" = "$(sha256sum <"$ini")" ] && pass "read-only settings unchanged" || fail "read-only settings changed"
chmod u+w "$ini"

# 4. Bad input: a missing movie, a binary file, a settings file of garbage with
#    huge values. Each run must show the window and end normally.
start_player "$(orves_winpath "$work/no-such-movie.avi")"
close_player "missing movie"

head -c 300000 /dev/urandom >"$work/garbage.avi"
start_player "$(orves_winpath "$work/garbage.avi")"
sleep 2
close_player "binary file as movie"

{
  head -c 2000 /dev/urandom
  printf '\r\n[Main]\r\nTop=99999999999999999999\r\nLeft=-2147483648\r\nWidth=2147483647\r\nHeight=-5\r\n'
  printf '[Layout]\r\nStartMode=77\r\nAlwaysTop=junk\r\n[Movie]\r\nVolume=-999999999\r\n'
  head -c 2000 /dev/urandom
} >"$ini"
start_player "$(orves_winpath "$movie")"
dismiss_options 10
if main=$(find_window "Orve's MP" 20); then
  eval "$(xdotool getwindowgeometry --shell "$main")"
  if [ "$WIDTH" -ge 1 ] && [ "$WIDTH" -le 4096 ] && [ "$HEIGHT" -ge 1 ] && [ "$HEIGHT" -le 4096 ]; then
    pass "garbage settings: window of sane size ${WIDTH}x${HEIGHT}"
  else
    fail "garbage settings: window size ${WIDTH}x${HEIGHT}"
  fi
fi
close_player "garbage settings"

# 5. The command-line words: exact words end the program unshown (the
#    destruction steps still write the settings); other spellings are files.
rm -f "$ini"
start_player Install
if wait_player 30; then pass "Install ends the program normally"; else fail "Install did not end normally"; fi
if [ -f "$ini" ] && profile_text "$ini" | grep -q '^\[Main\]' && ! profile_text "$ini" | grep -q '^Version='; then
  pass "Install wrote the settings without showing the window"
else
  fail "Install: settings file not as expected"
fi
start_player install
dismiss_options 20 || fail "install (lower case) did not start the player"
close_player "install in lower case"

echo "$passed passed, $failed failed"
rm -rf "$work"
[ "$failed" -eq 0 ]
