#!/usr/bin/env bash
# The setup program end to end, in a Wine prefix of its own (made fresh and
# thrown away), on a private display large enough for a 200 % window:
#   - make-dist.sh makes the setup program and the zip; the setup is at most
#     1.3 times the zip's size;
#   - "setup.exe /S" installs the files, the Start-menu shortcut, the Apps
#     entry, the filter's registration and the associations with backups;
#   - the installed player, its folder made unwritable, plays the demo with
#     the movie's name in its title, pauses on the keyboard's play key, and
#     keeps its settings in %APPDATA%\OrvesMP (a moved window comes back
#     there on the next start);
#   - at 192 DPI (LogPixels) the Default skin's window is twice its 96-DPI
#     size and its frame is the 96-DPI frame with every pixel doubled;
#   - "Uninstall.exe /S" leaves nothing of ours but the settings and gives
#     .avi its previous program back.
# Usage: setup_e2e.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
build="${ORVES_BUILD_DIR:-$root/build/win64}"
scratch=$(mktemp -d "$build/e2e-setup.XXXXXX")
export WINEPREFIX="$scratch/prefix"
export ORVES_XVFB_SCREEN=2048x1536x24
unset DISPLAY
source "$root/tests/windows/e2e_common.sh" e2e-setup
trap 'orves_wine_end; rm -rf "$scratch" "$work"' EXIT

pf="$WINEPREFIX/drive_c/Program Files/OrvesMP"
appdata="$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming 2>/dev/null | grep -v /Public/ | head -n 1)/OrvesMP"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Orve's MP.lnk"
apps="HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orve's MP_is1"
filter='HKEY_CLASSES_ROOT\CLSID\{3335371D-AF73-426D-90CD-591795FA657A}'
installed="C:\\Program Files\\OrvesMP"
wine_q() { timeout 60 wine "$@" >/dev/null 2>&1; }

# One Wine call reads the keys the checks look at; reg_value answers from it.
snapshot() {
  local key
  { printf '@echo off\r\n'; for key in "$@"; do printf 'reg query "%s" /s\r\n' "$key"; done; } >"$work/snap.bat"
  timeout 60 wine cmd /c "$(orves_winpath "$work/snap.bat")" 2>/dev/null | tr -d '\r' >"$work/snap.txt"
}
reg_value() {
  awk -v key="$1" -v name="${2:-(Default)}" '
    /^HKEY_/ { inside = tolower($0) == tolower(key); next }
    inside && match($0, /[ \t]+REG_[A-Z_]+([ \t]+|$)/) {
      n = substr($0, 1, RSTART - 1); sub(/^[ \t]+/, "", n)
      if (tolower(n) == tolower(name)) { print substr($0, RSTART + RLENGTH); found = 1; exit }
    }
    END { exit !found }' "$work/snap.txt"
}
reg_missing() { ! grep -qixF -- "$1" "$work/snap.txt"; }
expect_value() {
  local got
  got=$(reg_value "$1" "$2")
  if [ "$got" = "$3" ]; then pass "$4"; else fail "$4: [$2] is '$got'"; fi
}
# The main window once its title is exactly $1.
titled_window() {
  local i id
  for ((i = 0; i < $2 * 4; i++)); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    alive || return 1
    sleep 0.25
  done
  return 1
}
close_main() {
  timeout 10 xdotool windowfocus --sync "$1" key --clearmodifiers alt+F4
  if wait_player 30; then pass "$2: closed normally"; else fail "$2: did not end normally"; fi
}
# Pixels that differ between two shots inside window $1's picture, below the
# state text's line.
picture_change() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  compare -metric AE -fuzz 2% "$2" "$3" -crop "$((WIDTH - 40))x$((HEIGHT - 200))+$((X + 20))+$((Y + 60))" null: 2>&1 |
    awk '{ print int($1) }'
}
start_installed() {
  timeout -k 5 120 wine "$installed\\OrvesMP.exe" "$@" >>"$work/wine.log" 2>&1 &
  player_pid=$!
}

# --- the two downloads ------------------------------------------------------
version=$(sed -n 's/^#define ORVES_VERSION_TEXT "\(.*\)"/\1/p' "$build/generated/OrvesVersion.h")
if bash "$root/installer/make-dist.sh" "$bin" "$version" "$scratch/dist" >"$work/dist.log" 2>&1; then
  pass "make-dist.sh made the downloads"
else
  fail "make-dist.sh: $(tail -n 3 "$work/dist.log")"
  exit 1
fi
setup="$scratch/dist/OrvesMP-$version-setup.exe"
setup_size=$(stat -c %s "$setup")
zip_size=$(stat -c %s "$scratch/dist/OrvesMP-$version-portable.zip")
echo "setup $setup_size bytes, zip $zip_size bytes"
if [ $((setup_size * 10)) -le $((zip_size * 13)) ]; then pass "setup within 1.3x the zip"; else fail "setup too large"; fi

# --- silent install -----------------------------------------------------------
# Another program owns .avi before the player comes.
wine_q reg add 'HKCR\.avi' /ve /d aviplayer.file /f
if timeout 180 wine "$(orves_winpath "$setup")" /S >>"$work/wine.log" 2>&1; then
  pass "setup /S ends normally"
else
  fail "setup /S failed"
fi
missing=""
for f in OrvesMP.exe ZmSoundProcessor.ax OrvesMP.ico OrvesMP_List.ico Uninstall.exe Skin/Default/Skin.ini \
  Skin/Light/UpLeft.bmp demo/OrvesDemo.avi demo/OrvesDemo.smi; do
  [ -f "$pf/$f" ] || missing="$missing $f"
done
[ -z "$missing" ] && pass "every file installed" || fail "not installed:$missing"
[ -f "$shortcut" ] && pass "Start-menu shortcut" || fail "no Start-menu shortcut"
snapshot "$apps" 'HKCR\.avi' 'HKCR\orvemp' "$filter"
expect_value "$apps" DisplayName "Orve's MP" "Apps entry names the player"
expect_value "$apps" DisplayVersion "$version" "Apps entry has the version"
expect_value "$apps" Publisher "Orve" "Apps entry has the publisher"
expect_value "$apps" NoModify "0x1" "Apps entry offers no change"
expect_value "$apps" UninstallString "\"$installed\\Uninstall.exe\"" "Apps entry runs the uninstaller"
reg_value "$apps" EstimatedSize >/dev/null && pass "Apps entry has a size" || fail "Apps entry has no size"
expect_value "$filter\\InprocServer32" "" "$installed\\ZmSoundProcessor.ax" "the filter is registered from Program Files"
expect_value 'HKEY_CLASSES_ROOT\.avi' "" "orvemp" ".avi plays in the player"
expect_value 'HKEY_CLASSES_ROOT\.avi' "orvemp.bak" "aviplayer.file" ".avi keeps its previous program as backup"
expect_value 'HKEY_CLASSES_ROOT\orvemp\Shell\Open\Command' "" "\"$installed\\OrvesMP.exe\" \"%L\"" \
  "the file type opens the installed player"

# --- the installed player, its folder not writable ------------------------------
chmod 555 "$pf"
beside_before=$(md5sum "$pf/OrvesMP20.ini" 2>/dev/null)
start_installed "$installed\\demo\\OrvesDemo.avi"
# The first start of this version shows the options dialog.
if dialog=$(find_window "환경 설정" 30); then
  sleep 1
  timeout 10 xdotool windowfocus --sync "$dialog" key --clearmodifiers Escape
fi
if main=$(titled_window "OrvesDemo\\.avi - Orve's MP" 30); then
  pass "the title names the playing movie"
  sleep 4
  import -window root "$shots/setup-1-playing.png"
  sleep 1
  import -window root "$shots/setup-2-playing.png"
  moving=$(picture_change "$main" "$shots/setup-1-playing.png" "$shots/setup-2-playing.png")
  timeout 10 xdotool windowfocus --sync "$main" key XF86AudioPlay
  sleep 1.5
  import -window root "$shots/setup-3-paused.png"
  sleep 1
  import -window root "$shots/setup-4-paused.png"
  still=$(picture_change "$main" "$shots/setup-3-paused.png" "$shots/setup-4-paused.png")
  echo "picture change while playing: $moving, after the play key: $still"
  [ "${moving:-0}" -gt 500 ] && pass "the installed player plays the demo" || fail "the demo does not play"
  [ "${still:-1}" -le 50 ] && pass "the keyboard's play key pauses it" || fail "still moving after the play key"
  timeout 10 xdotool windowmove --sync "$main" 150 130
  sleep 0.5
  close_main "$main" "installed player"
else
  fail "no main window titled with the movie"
  wait_player 1
fi
settings="$appdata/OrvesMP20.ini"
saved="$(profile_text "$settings")"
if grep -q '^Left=150' <<<"$saved" && grep -q '^Version=' <<<"$saved"; then
  pass "settings saved in %APPDATA%\\OrvesMP"
else
  fail "no settings in %APPDATA%\\OrvesMP"
fi
[ -f "$appdata/Bookmark.ini" ] && pass "bookmark saved beside them" || fail "no bookmark in %APPDATA%\\OrvesMP"
if [ "$(md5sum "$pf/OrvesMP20.ini" 2>/dev/null)" = "$beside_before" ] && [ ! -e "$pf/Bookmark.ini" ]; then
  pass "nothing written beside the program"
else
  fail "the program folder was written"
fi

# A restart finds the window where it was left, and no options dialog.
# Two presses of F11 go round the two skins back to Default, which sizes the
# window to the skin: the 96-DPI picture for the scale check below.
frame_shot() {
  local id="$1" shot="$2"
  timeout 10 xdotool windowfocus --sync "$id" key --clearmodifiers F11
  sleep 1
  timeout 10 xdotool windowfocus --sync "$id" key --clearmodifiers F11
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
  echo "${WIDTH}x${HEIGHT}"
}
start_installed
if main=$(find_window "Orve's MP" 30); then
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$main")"
  if [ "$X" -eq 150 ] && [ "$Y" -eq 130 ]; then pass "a changed setting survives a restart"; else fail "window at $X,$Y"; fi
  xdotool search --onlyvisible --name "^환경 설정\$" >/dev/null 2>&1 && fail "options dialog again" || true
  size96=$(frame_shot "$main" "$work/frame96.png")
  close_main "$main" "restart"
else
  fail "restart: no main window"
  wait_player 1
fi

# --- 192 DPI ----------------------------------------------------------------
timeout 30 wineserver -k >/dev/null 2>&1
wine_q reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f
start_installed
if main=$(find_window "Orve's MP" 30); then
  sleep 2
  size192=$(frame_shot "$main" "$work/frame192.png")
  cp "$work/frame96.png" "$work/frame192.png" "$shots/" 2>/dev/null
  w=${size96%x*} h=${size96#*x}
  echo "Default skin's window: $size96 at 96 DPI, $size192 at 192 DPI"
  if [ "$size192" = "$((2 * w))x$((2 * h))" ]; then pass "twice the size at 192 DPI"; else fail "size $size192 at 192 DPI"; fi
  # The frame: the bands above and below the picture and at its sides, less
  # the line of the time texts (letters are drawn by the font at each size).
  convert "$work/frame96.png" -sample 200% "$work/frame96x2.png"
  mask="$work/frame-mask.png"
  convert -size "$((2 * w))x$((2 * h))" xc:white \
    -fill black -draw "rectangle 12,56 $((2 * w - 13)),$((2 * h - 145))" \
    -draw "rectangle 0,$((2 * h - 132)) $((2 * w - 1)),$((2 * h - 92))" "$mask"
  for f in frame96x2 frame192; do
    convert "$work/$f.png" "$mask" -compose multiply -composite "$work/$f-masked.png"
  done
  differ=$(compare -metric AE "$work/frame96x2-masked.png" "$work/frame192-masked.png" null: 2>&1)
  frame=$(convert "$mask" -format '%[fx:int(mean*w*h+0.5)]' info:)
  echo "frame pixels differing from the 96-DPI frame doubled: ${differ:-?} of $frame"
  [ "${differ:-1}" -eq 0 ] && pass "the frame is the 96-DPI frame with every pixel doubled" || fail "frame differs"
  close_main "$main" "192 DPI"
else
  fail "192 DPI: no main window"
  wait_player 1
fi

# --- silent uninstall ----------------------------------------------------------
chmod 755 "$pf"
wine_q "$installed\\Uninstall.exe" /S
# The uninstaller runs from a copy of itself: wait for it to finish.
for ((i = 0; i < 240; i++)); do [ -e "$pf" ] || break; sleep 0.25; done
snapshot "$apps" 'HKCR\.avi' 'HKCR\orvemp' "$filter"
[ ! -e "$pf" ] && pass "the program folder is gone" || fail "left in the program folder: $(ls -A "$pf")"
[ ! -e "$shortcut" ] && pass "the shortcut is gone" || fail "the shortcut is left"
reg_missing "$apps" && pass "the Apps entry is gone" || fail "the Apps entry is left"
reg_missing "$filter" && pass "the filter is unregistered" || fail "the filter is still registered"
reg_missing 'HKEY_CLASSES_ROOT\orvemp' && pass "the file type is gone" || fail "the file type is left"
expect_value 'HKEY_CLASSES_ROOT\.avi' "" "aviplayer.file" ".avi has its previous program back"
[ -f "$settings" ] && pass "a silent uninstall keeps the settings" || fail "the settings were removed"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
