#!/usr/bin/env bash
# orvesmp-sami.exe under Wine gives, byte for byte, what the native tool gives
# (the expected files in tests/data/captions were written by the native tool,
# and the native unit tests check them too): dump of a CP949 and a UTF-16 file,
# a lookup with a negative offset, a shift with a negative amount, and the
# exit statuses of a missing file and bad arguments.
set -u
: "${ORVES_SOURCE_DIR:?}" "${ORVES_BIN_DIR:?}" "${ORVES_BUILD_DIR:?}"
export ORVES_WIN_BUILD="$ORVES_BUILD_DIR"
source "$ORVES_SOURCE_DIR/scripts/wine-env.sh"

data="$ORVES_SOURCE_DIR/tests/data/captions"
work=$(mktemp -d "$ORVES_BUILD_DIR/captions-wine.XXXXXX")
trap 'orves_wine_end; rm -rf "$work"' EXIT
orves_wine_begin || exit 1
cp "$data"/sample-cp949.smi "$data"/sample-utf16le.smi "$work"/
cd "$work"

failures=0
tool() { timeout -k 5 120 wine "$ORVES_BIN_DIR/orvesmp-sami.exe" "$@"; }
expect_same() {  # expect_same NAME ACTUAL EXPECTED
  if cmp -s "$2" "$3"; then echo "ok   $1"; else echo "FAIL $1"; diff "$3" "$2" | head -20; failures=$((failures + 1)); fi
}
expect_status() {  # expect_status NAME WANTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: exit $3, wanted $2"; failures=$((failures + 1)); fi
}

tool dump sample-cp949.smi >dump-cp949.json 2>err.txt
expect_status "dump cp949 exit" 0 $?
expect_same "dump cp949" dump-cp949.json "$data/expected-dump-cp949.json"
tool dump sample-utf16le.smi >dump-utf16le.json 2>>err.txt
expect_same "dump utf-16le" dump-utf16le.json "$data/expected-dump-utf16le.json"
tool at sample-cp949.smi 4.5 --offset -0.5 >at.json 2>>err.txt
expect_same "at with negative offset" at.json "$data/expected-at-cp949.json"
tool shift sample-cp949.smi -2.0 -o shifted.smi 2>>err.txt
expect_status "shift exit" 0 $?
expect_same "shift" shifted.smi "$data/expected-shift-cp949.smi"
# Shifting again over the same output replaces it.
tool shift sample-cp949.smi -2.0 -o shifted.smi 2>>err.txt
expect_same "shift over an existing file" shifted.smi "$data/expected-shift-cp949.smi"

tool dump missing.smi >/dev/null 2>missing.txt
expect_status "missing file exit" 1 $?
grep -q 'missing.smi' missing.txt || { echo "FAIL missing file message: $(cat missing.txt)"; failures=$((failures + 1)); }
tool shift sample-cp949.smi 1 >/dev/null 2>&1
expect_status "shift without -o exit" 2 $?
tool --help >help.txt 2>&1
expect_status "help exit" 0 $?

if [ -s err.txt ]; then echo "unexpected messages:"; cat err.txt; failures=$((failures + 1)); fi
exit $((failures > 0))
