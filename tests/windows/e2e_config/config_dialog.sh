#!/usr/bin/env bash
# End-to-end test of the options dialog under Wine, on OrvesMP.exe run from a
# private copy with no settings file:
#   - the first start of this version opens "환경 설정";
#   - keys alone change a setting: Right seven times walks the tab control to
#     the last tab ("기타 설정"); Tab goes on to 확인, 취소, 초기화 and then
#     the page's first box ("상태표시 한글로 보기"), Space checks it, Enter
#     presses OK;
#   - the settings file holds StateText/Korean=1 after a normal exit, with the
#     version written, so the next start opens no dialog;
#   - F2 opens it again; the low-end preset ("저사양을 위한 설정", the fifth
#     button of the first page) closes it at once and its values reach the
#     settings file: 800 x 600 at 16 bits in full screen, caption position 0,
#     no smoothing.
# Usage: config_dialog.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-config

# The value of key $2 in section $1 of the settings file.
ini_value() {
  profile_text "$ini" | awk -F= -v section="[$1]" -v key="$2" '
    /^\[/ { inside = ($0 == section); next }
    inside && $1 == key { print $2; exit }'
}

dialog_visible() { xdotool search --onlyvisible --name "$(title_pattern "환경 설정")" >/dev/null 2>&1; }

# True when the dialog is gone within $1 seconds.
dialog_gone() {
  local i
  for ((i = 0; i < $1 * 4; i++)); do
    dialog_visible || return 0
    sleep 0.25
  done
  return 1
}

close_main() {
  local main
  main=$(find_window "Orve's MP" 10) || { fail "$1: no main window"; wait_player 1; return; }
  timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers alt+F4
  if wait_player 30; then pass "$1: closed normally"; else fail "$1: did not close normally"; fi
}

rm -f "$ini"
start_player
if dialog=$(find_window "환경 설정" 30); then
  pass "the first start of this version opens the options dialog"
  sleep 1
  timeout 10 xdotool windowfocus --sync "$dialog" key --delay 80 Right Right Right Right Right Right Right Tab Tab Tab Tab space
  sleep 0.5
  import -window root "$shots/config-dialog.png"
  timeout 10 xdotool windowfocus --sync "$dialog" key Return
  if dialog_gone 5; then pass "Enter closes the dialog"; else fail "Enter left the dialog open"; fi
  close_main "after OK"
  korean=$(ini_value StateText Korean)
  if [ "$korean" = "1" ]; then pass "the settings file holds the changed box"; else fail "StateText/Korean is '$korean'"; fi
  version=$(ini_value "Orve's MP" Version)
  if [ -n "$version" ]; then pass "the version is written"; else fail "no version written"; fi
else
  fail "no options dialog at the first start"
  wait_player 1
fi

start_player
if find_window "Orve's MP" 30 >/dev/null; then
  sleep 2
  if dialog_visible; then fail "the options dialog opened again"; else pass "the next start opens no dialog"; fi
  main=$(find_window "Orve's MP" 10)
  timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers F2
  if dialog=$(find_window "환경 설정" 10); then
    sleep 1
    timeout 10 xdotool windowfocus --sync "$dialog" key --delay 80 Tab Tab Tab Tab Tab Tab Tab Tab space
    if dialog_gone 5; then pass "a preset closes the dialog"; else fail "the preset left the dialog open"; fi
  else
    fail "F2 opened no dialog"
  fi
  close_main "second start"
  preset="$(ini_value Layout FullScreenDpi) $(ini_value Layout FullScreenColor) $(ini_value OrveCaption UpHeightRate)"
  preset="$preset $(ini_value OrveCaption AntiAliase)"
  if [ "$preset" = "800 16 0 0" ]; then pass "the low-end preset is saved"; else fail "after the preset: '$preset'"; fi
else
  fail "second start: no main window"
  wait_player 1
fi
if [ "$(ini_value StateText Korean)" = "1" ]; then pass "the value survives a run"; else fail "the value was lost"; fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && rm -rf "$work"
[ "$failed" -eq 0 ]
