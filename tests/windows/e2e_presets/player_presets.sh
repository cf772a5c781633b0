#!/usr/bin/env bash
# End-to-end test of the preset keys under Wine, on OrvesMP.exe run from a
# private copy whose settings differ from every preset:
#   - Ctrl+2 ("영상우선 모드") applies the options dialog's second preset:
#     after a normal exit the settings file holds caption position 0, smoothing
#     on, no fixed aspect and no full-screen mode change;
#   - Ctrl+5 ("저사양 모드") applies the fifth: 800 x 600 at 16 bits in full
#     screen, caption position 0, no smoothing.
# Usage: player_presets.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-presets

# The value of key $2 in section $1 of the settings file.
ini_value() {
  profile_text "$ini" | awk -F= -v section="[$1]" -v key="$2" '
    /^\[/ { inside = ($0 == section); next }
    inside && $1 == key { print $2; exit }'
}

# This version has run before (no options dialog); nothing as a preset has it.
far_from_presets() {
  printf "[Orve's MP]\r\nVersion=2.33\r\n[Layout]\r\nFullScreenDpi=1024\r\nFullScreenColor=32\r\n" >"$ini"
  printf "[OrveCaption]\r\nUpHeightRate=25\r\nAntiAliase=0\r\n[Movie]\r\nDoFixRate=43\r\n" >>"$ini"
}

# Runs the player, presses $1, closes it; then compares "FullScreenDpi
# FullScreenColor UpHeightRate AntiAliase DoFixRate" with $2.
preset_run() {
  local key="$1" want="$2" main got code
  far_from_presets
  start_player
  if ! main=$(find_window "Orve's MP" 30); then
    fail "$key: no main window"
    wait_player 1
    return
  fi
  sleep 1
  timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers "$key"
  sleep 1
  timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers alt+F4
  wait_player 30
  code=$?
  [ "$code" -eq 0 ] && pass "$key: closed normally" || fail "$key: exit code $code"
  got="$(ini_value Layout FullScreenDpi) $(ini_value Layout FullScreenColor) $(ini_value OrveCaption UpHeightRate)"
  got="$got $(ini_value OrveCaption AntiAliase) $(ini_value Movie DoFixRate)"
  if [ "$got" = "$want" ]; then pass "$key: the preset reaches the settings file"; else fail "$key: '$got', not '$want'"; fi
}

preset_run ctrl+2 "0 32 0 1 0"
preset_run ctrl+5 "800 16 0 0 0"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && rm -rf "$work"
[ "$failed" -eq 0 ]
