#!/usr/bin/env bash
# The install words against Wine's registry: "Install" writes the player's
# file types, takes .avi and .list keeping their previous programs, and drops
# old versions' uninstall entries; "UnInstall" gives every extension back
# without losing another program's values, and leaves a .list another
# program has taken since. At start, a registered subtitle filter is offered
# for removal, found without creating the other filter's key.
# Usage: install_words.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
source "$root/tests/windows/e2e_common.sh" e2e-install

uninstall='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
choice='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.avi'

# One Wine call reads every key the next checks look at (with subkeys):
# reg_value and reg_missing then answer from that snapshot.
snapshot() {
  local key
  { printf '@echo off\r\n'; for key in "$@"; do printf 'reg query "%s" /s\r\n' "$key"; done; } >"$work/snap.bat"
  timeout 30 wine cmd /c "$(orves_winpath "$work/snap.bat")" 2>/dev/null | tr -d '\r' >"$work/snap.txt"
}
# The string value NAME ("" for the default) of KEY; fails when missing.
reg_value() {
  awk -v key="$1" -v name="${2:-(Default)}" '
    /^HKEY_/ { inside = tolower($0) == tolower(key); next }
    inside && match($0, /[ \t]+REG_(EXPAND_)?SZ([ \t]+|$)/) {
      n = substr($0, 1, RSTART - 1); sub(/^[ \t]+/, "", n)
      if (tolower(n) == tolower(name)) { print substr($0, RSTART + RLENGTH); found = 1; exit }
    }
    END { exit !found }' "$work/snap.txt"
}
reg_missing() { ! grep -qixF -- "$1" "$work/snap.txt"; }
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
snapshot 'HKEY_CLASSES_ROOT\orvemp' 'HKEY_CLASSES_ROOT\orvemp.list' 'HKEY_CLASSES_ROOT\.avi' 'HKEY_CLASSES_ROOT\.list' \
  'HKEY_CLASSES_ROOT\.mpg' "$uninstall" "$choice"
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
snapshot 'HKEY_CLASSES_ROOT\orvemp' 'HKEY_CLASSES_ROOT\.avi' 'HKEY_CLASSES_ROOT\.list'
reg_missing 'HKEY_CLASSES_ROOT\orvemp' && pass "movie file type removed" || fail "movie file type kept"
expect_value 'HKEY_CLASSES_ROOT\.avi' "" "aviplayer.file" ".avi given back"
expect_value 'HKEY_CLASSES_ROOT\.avi' "Content Type" "video/avi" ".avi's other value kept"
reg_value 'HKEY_CLASSES_ROOT\.avi' orvemp.bak >/dev/null && fail "backup value left" || pass "backup value removed"
expect_value 'HKEY_CLASSES_ROOT\.list' "" "other.list" "another program's .list kept"

timeout 20 wine reg delete "$uninstall\\Orve's MP_is1" /f >/dev/null 2>&1

# Only the second subtitle filter is registered: the caption codec dialog
# shows; "아니오" leaves the check on.
probe() { timeout 20 wine "$bin/form_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
clsid='HKEY_CLASSES_ROOT\CLSID'
timeout 20 wine reg add "$clsid\{37D5AC6C-DB82-4D83-8A70-B8FF0F1CB7C9}\InprocServer32" /ve /d 'C:\none\divxg400.ax' /f \
  >/dev/null 2>&1
printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nCheckNewVersion=0\r\nCheckCaptionCodec=1\r\n" >"$ini"
start_player
texts=""
for ((i = 0; i < 30; i++)); do
  texts=$(probe texts OrvesMPForm) && break
  sleep 0.5
done
if grep -q '^자막코덱(DivXG400 또는 VobSub)이 발견되었습니다\.$' <<<"$texts"; then
  pass "a registered subtitle filter is offered for removal"
else
  fail "no caption codec dialog: $texts"
fi
probe command OrvesMPForm 7 >/dev/null  # "아니오(&N)"
probe close TfrmMain >/dev/null
if wait_player 15; then pass "closed normally after the caption codec check"; else fail "player did not end normally"; fi
profile_text "$ini" | grep -q '^CheckCaptionCodec=1' && pass "the caption codec check stays on" || fail "CheckCaptionCodec changed"
g400="$clsid\\{37D5AC6C-DB82-4D83-8A70-B8FF0F1CB7C9}"
vobsub="$clsid\\{0180E49C-13BF-46DB-9AFD-9F52292E1C22}"
snapshot "$vobsub" "$g400"
if reg_missing "$vobsub" && ! reg_missing "$g400\\InprocServer32"; then
  pass "the other filter's key not created"
else
  fail "the other filter's key was created (or the registry could not be read)"
fi
timeout 20 wine reg delete "$clsid\{37D5AC6C-DB82-4D83-8A70-B8FF0F1CB7C9}" /f >/dev/null 2>&1
echo "passed $passed, failed $failed"
[ "$failed" -eq 0 ]
