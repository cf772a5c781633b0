#!/usr/bin/env bash
# zmsp-process.exe under Wine: the Windows build of the tool runs a WAV file
# through the filter with in-memory settings and keeps its exit codes.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"; orves_wine_end' EXIT
tool="$ORVES_BIN_DIR/zmsp-process.exe"
in=$(orves_winpath "$media/test-tone.wav")
out="$work/out.wav"

wrun "$tool" "$in" "$(orves_winpath "$work")\\refused.wav" >/dev/null
rc=$?
[ $rc -eq 3 ] && pass "no stage switched on: exit 3" || fail "no stage switched on: exit $rc"

levels=$(wrun "$tool" "$in" "$(orves_winpath "$work")\\out.wav" --set "Channel Control/Enable=1" --levels)
rc=$?
[ $rc -eq 0 ] && pass "processed" || fail "processing: exit $rc"
echo "$levels" | grep -qE '^\[[0-9]+,[0-9]+,0,0,0,0,0,0\]$' && pass "levels $levels" || fail "levels: $levels"
# Nothing switched on besides the stage itself: every sample comes back. The
# output has a plain 44-byte header; the input may carry other chunks first.
data=$(( $(stat -c %s "$out") - 44 ))
[ "$data" -gt 0 ] && cmp -s <(tail -c "$data" "$media/test-tone.wav") <(tail -c "$data" "$out") \
  && pass "unchanged audio is sample for sample the input" || fail "output data differs"

wrun "$tool" "$in" "$(orves_winpath "$work")\\boost.wav" --set "Channel Control/Enable=1" \
  --set "Channel Control/EnableVolBoost=1" >/dev/null
rc=$?
[ $rc -eq 0 ] && [ -s "$work/boost.wav" ] && ! cmp -s "$media/test-tone.wav" "$work/boost.wav" \
  && pass "boost changes the audio" || fail "boost: exit $rc"

wrun "$tool" "$in" >/dev/null
rc=$?
[ $rc -eq 2 ] && pass "missing output argument: exit 2" || fail "missing output argument: exit $rc"
wrun "$tool" "$(orves_winpath "$work")\\missing.wav" "$(orves_winpath "$work")\\x.wav" --set "Channel Control/Enable=1" >/dev/null
rc=$?
[ $rc -eq 1 ] && pass "unreadable input: exit 1" || fail "unreadable input: exit $rc"

finish
