#!/usr/bin/env bash
# The install words against Wine's registry: "Install" writes the player's
# file types, takes .avi and .list keeping their previous programs, and drops
# old versions' uninstall entries; "UnInstall" gives every extension back
# without losing another program's values, and leaves a .list another
# program has taken since.
# Usage: install_words.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-install

uninstall='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
choice='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.avi'

# The string value NAME ("" for the default) of KEY; fails when missing.
reg_value() {
  local out
  if [ -z "$2" ]; then
    out=$(timeout 20 wine reg query "$1" /ve 2>/dev/null) || return 1
  else
    out=$(timeout 20 wine reg query "$1" /v "$2" 2>/dev/null) || return 1
  fi
  out=$(tr -d '\r' <<<"$out" | grep -m1 'REG_SZ') || return 1
  sed -E 's/^.*REG_SZ[[:space:]]*//' <<<"$out"
}
reg_missing() { ! timeout 20 wine reg query "$1" >/dev/null 2>&1; }
expect_value() {
  local got
  got=$(reg_value "$1" "$2")
  if [ "$got" = "$3" ]; then pass "$4"; else fail "$4: $1 [$2] is '$got'"; fi
}
run_word() {
  start_player "$1"
  if wait_player 30; then pass "$1 ends normally"; else fail "$1 did not end normally"; fi
}

# Another program owns .avi (with a value of its own) and .mpg; an old
# version and the installer left uninstall entries; the shell remembers a
# per-user program for .avi.
cat >"$work/seed.reg" <<REG
REGEDIT4

[HKEY_CLASSES_ROOT\\.avi]
@="aviplayer.file"
"Content Type"="video/avi"

[HKEY_CLASSES_ROOT\\.mpg]
@="mpgplayer.file"

[$uninstall\\Orve's MP 2.0]
"DisplayName"="Orve's MP 2.0"

[$uninstall\\Orve's MP_is1]
"DisplayName"="Orve's MP"

[$choice]
"Application"="other.exe"
REG
timeout 30 wine reg delete 'HKEY_CLASSES_ROOT\.list' /f >/dev/null 2>&1
timeout 30 wine regedit /S "$(orves_winpath "$work/seed.reg")" || fail "registry seed not imported"

run_word Install
folder=$(orves_winpath "$work")
expect_value 'HKEY_CLASSES_ROOT\orvemp' "" "Orve's MP" "movie file type written"
expect_value 'HKEY_CLASSES_ROOT\orvemp.list\DefaultIcon' "" "$folder\\OrvesMP_List.ico" "list icon named"
expect_value 'HKEY_CLASSES_ROOT\orvemp\Shell\Open\Command' "" "\"$folder\\OrvesMP.exe\" \"%L\"" "open command"
expect_value 'HKEY_CLASSES_ROOT\.avi' "" "orvemp" ".avi taken"
expect_value 'HKEY_CLASSES_ROOT\.avi' "orvemp.bak" "aviplayer.file" ".avi's program kept as backup"
expect_value 'HKEY_CLASSES_ROOT\.list' "" "orvemp.list" ".list taken"
expect_value 'HKEY_CLASSES_ROOT\.mpg' "" "mpgplayer.file" ".mpg left alone"
reg_missing "$uninstall\\Orve's MP 2.0" && pass "old uninstall entry dropped" || fail "old uninstall entry kept"
reg_missing "$uninstall\\Orve's MP_is1" && fail "installer's entry dropped" || pass "installer's entry kept"
reg_value "$choice" Application >/dev/null && fail "shell's per-user choice kept" || pass "shell's per-user choice forgotten"
for icon in OrvesMP.ico OrvesMP_List.ico; do
  [ -s "$bin/$icon" ] && pass "$icon beside the program" || fail "$icon missing beside the program"
done

# Another program takes .list after the install.
timeout 20 wine reg add 'HKEY_CLASSES_ROOT\.list' /ve /d other.list /f >/dev/null 2>&1
run_word UnInstall
reg_missing 'HKEY_CLASSES_ROOT\orvemp' && pass "movie file type removed" || fail "movie file type kept"
expect_value 'HKEY_CLASSES_ROOT\.avi' "" "aviplayer.file" ".avi given back"
expect_value 'HKEY_CLASSES_ROOT\.avi' "Content Type" "video/avi" ".avi's other value kept"
reg_value 'HKEY_CLASSES_ROOT\.avi' orvemp.bak >/dev/null && fail "backup value left" || pass "backup value removed"
expect_value 'HKEY_CLASSES_ROOT\.list' "" "other.list" "another program's .list kept"

timeout 20 wine reg delete "$uninstall\\Orve's MP_is1" /f >/dev/null 2>&1
echo "passed $passed, failed $failed"
[ "$failed" -eq 0 ]
