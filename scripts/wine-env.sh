# Sourced by the scripts that run Windows binaries: one Wine prefix per build
# tree, a private Xvfb when no display is set, a null sound device, Korean font
# replacements, and a clean shutdown. Every Wine call goes through `timeout`.

ORVES_ROOT="${ORVES_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
ORVES_WIN_BUILD="${ORVES_WIN_BUILD:-$ORVES_ROOT/build/win64}"
export WINEPREFIX="${WINEPREFIX:-$ORVES_WIN_BUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64
# HOME holds .asoundrc with a null ALSA device, so DirectShow renders audio
# without a sound card (otherwise RenderFile leaves audio unrendered).
export ORVES_WINE_HOME="$ORVES_WIN_BUILD/winehome"
export HOME="$ORVES_WINE_HOME"
mkdir -p "$ORVES_WINE_HOME"
if [ ! -f "$ORVES_WINE_HOME/.asoundrc" ]; then
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$ORVES_WINE_HOME/.asoundrc"
fi

orves_started_xvfb=""

# Starts a private Xvfb when DISPLAY is unset (ORVES_XVFB_SCREEN: its size,
# 1024x768x24 by default); -displayfd tells the free display number once the
# server is ready.
orves_ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${ORVES_XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  orves_started_xvfb=$!
  local num
  read -r -t 20 num <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$num"
  export ORVES_XVFB_PID=$orves_started_xvfb
}

# Creates and configures the prefix once; a lock keeps parallel callers out.
orves_ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock -w 300 9 || exit 1
    if [ -f "$WINEPREFIX/.orves-ready" ]; then exit 0; fi
    echo "preparing Wine prefix in $WINEPREFIX" >&2
    timeout 180 wine wineboot -u >/dev/null 2>&1 || true
    # GDI video renderer: with Direct3D the picture goes to an off-screen window under Xvfb.
    timeout 60 wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d no3d /f >/dev/null 2>&1
    # Wine has no Korean fallback: map the faces the player asks for to NanumGothic.
    local face
    for face in Gulim "굴림" GulimChe "굴림체" Dotum "돋움" Batang "바탕" "맑은 고딕" "Malgun Gothic"; do
      timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d NanumGothic /f >/dev/null 2>&1
    done
    timeout 60 wineserver -w || true
    touch "$WINEPREFIX/.orves-ready"
  ) 9>"$WINEPREFIX.lock"
}

# Keeps one wineserver alive for a run of many Wine calls.
orves_wine_begin() {
  orves_ensure_display || return 1
  orves_ensure_prefix || return 1
  wineserver -p >/dev/null 2>&1 || true
}

orves_wine_end() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  if [ -n "$orves_started_xvfb" ]; then
    kill "$orves_started_xvfb" 2>/dev/null || true
    wait "$orves_started_xvfb" 2>/dev/null || true
    orves_started_xvfb=""
    unset DISPLAY ORVES_XVFB_PID
  fi
}

# Linux path -> the Wine path of the same file (Z: maps to /).
orves_winpath() {
  local p
  p=$(readlink -f "$1" 2>/dev/null || echo "$1")
  echo "Z:${p//\//\\}"
}
