# Shared set-up and helpers of the end-to-end scripts that drive OrvesMP.exe
# under Wine. Sourced with the work folder's name prefix as its argument:
#   root=...; source "$root/tests/windows/e2e_common.sh" e2e-keys
# Gives: ORVES_WIN_BUILD, bin, movie, work (a private folder holding a copy of
# OrvesMP.exe, so its settings file starts fresh), shots, ini, and the helpers
# below. Env: ORVES_BUILD_DIR (the mingw build tree), ORVES_BIN_DIR.
export ORVES_WIN_BUILD="${ORVES_BUILD_DIR:-$root/build/win64}"
bin="${ORVES_BIN_DIR:-$ORVES_WIN_BUILD/bin}"
source "$root/scripts/wine-env.sh"

movie="$bin/demo/OrvesDemo.avi"
for f in "$bin/OrvesMP.exe" "$movie"; do
  [ -f "$f" ] || { echo "missing $f (build the OrvesMP and orves_demo_media targets)" >&2; exit 1; }
done

[ -n "${DISPLAY:-}" ] || trap orves_wine_end EXIT
orves_wine_begin || exit 1

work=$(mktemp -d "$ORVES_WIN_BUILD/${1:-e2e}.XXXXXX")
shots="$ORVES_WIN_BUILD/e2e-shots"
mkdir -p "$shots"
cp "$bin/OrvesMP.exe" "$work/"
# Our decoding module beside the program, as an installation has it.
[ -f "$bin/OrvesCodecs.ax" ] && cp "$bin/OrvesCodecs.ax" "$work/"
# The skins beside the program, as an installation has them; frame_top and
# frame_bottom are the Default skin's margins above and below the picture.
[ -d "$bin/Skin" ] && cp -r "$bin/Skin" "$work/"
skin_margin() { sed -n "s/^$1=\([0-9]*\).*/\1/p" "$work/Skin/Default/Skin.ini" 2>/dev/null | head -n 1; }
frame_top=$(skin_margin MarginUp)
frame_top=${frame_top:-0}
frame_bottom=$(skin_margin MarginDown)
frame_bottom=${frame_bottom:-0}
ini="$work/OrvesMP20.ini"
player_pid=""
passed=0
failed=0

# The text of a profile file (settings, list, bookmarks) without its CRs:
# UTF-16LE after a byte-order mark (a name its code page cannot hold), else
# as it is.
profile_text() {
  if [ "$(head -c 2 "$1" 2>/dev/null | od -An -tx1 | tr -d ' ')" = "fffe" ]; then
    tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8
  else
    cat "$1" 2>/dev/null
  fi | tr -d '\r'
}

pass() { echo "ok: $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }

start_player() {
  timeout -k 5 120 wine "$work/OrvesMP.exe" "$@" >>"$work/wine.log" 2>&1 &
  player_pid=$!
}

alive() { kill -0 "$player_pid" 2>/dev/null; }

# The search pattern of a window title taken literally; the main window's
# title may carry the open movie's name before it ("OrvesDemo.avi - Orve's MP").
title_pattern() { printf '^(.* - )?%s$' "$(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')"; }

# Id of the visible window whose title is exactly $1, waiting up to $2 seconds.
find_window() {
  local title="$1" wait="$2" id="" i
  for ((i = 0; i < wait * 4; i++)); do
    id=$(xdotool search --onlyvisible --name "$(title_pattern "$title")" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    alive || return 1
    sleep 0.25
  done
  return 1
}

# Waits up to $1 seconds for the player to end; its exit code, or 124.
wait_player() {
  local i
  for ((i = 0; i < $1 * 4; i++)); do
    if ! alive; then
      wait "$player_pid"
      return $?
    fi
    sleep 0.25
  done
  kill "$player_pid" 2>/dev/null
  wait "$player_pid" 2>/dev/null
  return 124
}
