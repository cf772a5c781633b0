#!/usr/bin/env bash
# Plays the bundled demo movie with its captions in OrvesMP.exe under Wine.
# With a display: plays until the user closes the player. Without one: plays
# on a private Xvfb for about ten seconds, saves build/demo.png, closes the
# player normally and says where the screenshot is.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/wine-env.sh"
bin="$ORVES_WIN_BUILD/bin"
movie="$bin/demo/OrvesDemo.avi"
[ -f "$bin/OrvesMP.exe" ] || { echo "OrvesMP.exe is not built" >&2; exit 1; }
[ -f "$movie" ] || { echo "demo movie missing: $movie" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
  orves_wine_begin || exit 1
  timeout 3600 wine "$bin/OrvesMP.exe" "$(orves_winpath "$movie")"
  orves_wine_end
  exit 0
fi

trap orves_wine_end EXIT
orves_wine_begin || exit 1
timeout -k 5 120 wine "$bin/OrvesMP.exe" "$(orves_winpath "$movie")" >/dev/null 2>&1 &
player=$!
# The visible window titled exactly $1 (the hidden dialogs share the main
# window's title), waiting up to 20 s.
window() {
  for _ in $(seq 1 80); do
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 && return 0
    sleep 0.25
  done
  return 1
}
wid=$(window "Orve's MP")
# The first start of a version opens the options dialog right after the main
# window shows; dismiss it so the movie starts.
for _ in $(seq 1 12); do
  dialog=$(xdotool search --onlyvisible --name "^환경 설정\$" 2>/dev/null | head -n 1)
  if [ -n "$dialog" ]; then
    xdotool windowfocus --sync "$dialog" key --clearmodifiers Escape
    break
  fi
  sleep 0.25
done
sleep 10
shot="$root/build/demo.png"
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
# Close the player as a user would (Alt+F4), so it saves its settings and
# bookmark; destroying its X window would not tell the program.
if [ -n "$wid" ]; then
  xdotool windowfocus --sync "$wid" key --clearmodifiers alt+F4
fi
for _ in $(seq 1 60); do kill -0 "$player" 2>/dev/null || break; sleep 0.5; done
kill "$player" 2>/dev/null || true
echo "screenshot of the demo: $shot"
