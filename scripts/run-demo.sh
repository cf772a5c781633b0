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
wine "$bin/OrvesMP.exe" "$(orves_winpath "$movie")" >/dev/null 2>&1 &
player=$!
sleep 10
shot="$root/build/demo.png"
import -window root "$shot"
# Close the player as a user would, so it saves its settings and bookmark.
wid=$(xdotool search --name "^Orve's MP$" 2>/dev/null | head -n 1)
if [ -n "$wid" ]; then
  xdotool windowclose "$wid" 2>/dev/null || xdotool key --window "$wid" alt+F4
fi
for _ in $(seq 1 30); do kill -0 "$player" 2>/dev/null || break; sleep 0.5; done
kill "$player" 2>/dev/null || true
echo "screenshot of the demo: $shot"
