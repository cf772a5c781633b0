#!/usr/bin/env bash
# Makes the two downloads from a Windows build: the setup program (NSIS) and
# the portable zip, both holding the same files.
# Usage: make-dist.sh BIN_DIR VERSION OUT_DIR
#   BIN_DIR  the build's bin folder (OrvesMP.exe, the filters, Skin\, demo\)
#   OUT_DIR  receives OrvesMP-VERSION-setup.exe and OrvesMP-VERSION-portable.zip
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="$(cd "$1" && pwd)"
version="$2"
out="$3"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

work="$out/stage"
stage="$work/OrvesMP"
rm -rf "$work"
mkdir -p "$stage/demo"

# The player, its filters, the icons its file types name, the skins and the
# demo movie with its captions. OrvesCodecs.ax ships when the build made it.
for f in OrvesMP.exe ZmSoundProcessor.ax OrvesMP.ico OrvesMP_List.ico; do
  [ -f "$bin/$f" ] || { echo "make-dist: missing $bin/$f" >&2; exit 1; }
  cp "$bin/$f" "$stage/"
done
[ -f "$bin/OrvesCodecs.ax" ] && cp "$bin/OrvesCodecs.ax" "$stage/"
[ -d "$bin/Skin" ] || { echo "make-dist: missing $bin/Skin" >&2; exit 1; }
cp -r "$bin/Skin" "$stage/"
for f in OrvesDemo.avi OrvesDemo.smi; do
  [ -f "$bin/demo/$f" ] || { echo "make-dist: missing $bin/demo/$f" >&2; exit 1; }
  cp "$bin/demo/$f" "$stage/demo/"
done

# The setup's file lists: one File line per staged file, and for the
# uninstaller one Delete per file, then each folder (deepest first), which
# RMDir removes only when nothing else was put there.
winpath() { printf '%s' "${1//\//\\}"; }
files_nsh="$work/files.nsh"
unfiles_nsh="$work/unfiles.nsh"
: >"$files_nsh"
: >"$unfiles_nsh"
(cd "$stage" && find . -type d | sed 's|^\./\?||' | LC_ALL=C sort) | while read -r dir; do
  printf 'SetOutPath "$INSTDIR%s"\n' "${dir:+\\$(winpath "$dir")}" >>"$files_nsh"
  (cd "$stage/${dir:-.}" && find . -maxdepth 1 -type f | sed 's|^\./||' | LC_ALL=C sort) | while read -r file; do
    rel="${dir:+$dir/}$file"
    printf 'File "%s"\n' "$(winpath "$stage/$rel")" >>"$files_nsh"
    printf 'Delete "$INSTDIR\\%s"\n' "$(winpath "$rel")" >>"$unfiles_nsh"
  done
done
(cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r) | while read -r dir; do
  printf 'RMDir "$INSTDIR\\%s"\n' "$(winpath "$dir")" >>"$unfiles_nsh"
done

# Four dotted numbers for the setup's version block.
version4="$version"
while [ "$(tr -cd . <<<"$version4" | wc -c)" -lt 3 ]; do version4="$version4.0"; done

setup="$out/OrvesMP-$version-setup.exe"
zip="$out/OrvesMP-$version-portable.zip"
defines=(-DVERSION="$version" -DVERSION4="$version4" -DSTAGE="$stage" -DFILES_NSH="$files_nsh"
  -DUNFILES_NSH="$unfiles_nsh" -DOUTFILE="$setup")
[ -f "$stage/OrvesCodecs.ax" ] && defines+=(-DHAVE_CODECS)
makensis -V2 -INPUTCHARSET UTF8 "${defines[@]}" "$here/OrvesMP.nsi"

# The portable zip: the same files in one folder, compressed as much as zip
# allows.
rm -f "$zip"
python3 - "$work" "$zip" <<'PY'
import os, sys, zipfile
root, target = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for folder, dirs, files in os.walk(os.path.join(root, "OrvesMP")):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            z.write(path, os.path.relpath(path, root))
PY
rm -rf "$work"
echo "setup: $setup ($(stat -c %s "$setup") bytes)"
echo "zip:   $zip ($(stat -c %s "$zip") bytes)"
