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

# Our own DMOs stand in for the outside ones, which are never registered here.
probe() { ffprobe -v error -show_entries "stream=$2" -of default=nw=1:nk=1 "$1"; }
wrun "$tool" "$in" "$(orves_winpath "$work")\\up.wav" --set "Channel Expander/Enable=1" \
  --set "Channel Expander/OutputChannels=6" >/dev/null
rc=$?
channels=$(probe "$work/up.wav" channels)
[ $rc -eq 0 ] && [ "$channels" = 6 ] && pass "expander writes 6 channels" || fail "expander: exit $rc, channels $channels"
wrun "$tool" "$in" "$(orves_winpath "$work")\\fast.wav" --set "Time Stretcher/Enable=1" \
  --set "Time Stretcher/Speed=1500" >/dev/null
rc=$?
# 3 s at 1.5 times the speed: 2 s, less the stretcher's held-back end.
seconds=$(probe "$work/fast.wav" duration)
[ $rc -eq 0 ] && awk -v s="$seconds" 'BEGIN { exit !(s > 1.94 && s < 2.01) }' \
  && pass "time stretcher writes ${seconds} s of 3 s" || fail "time stretcher: exit $rc, ${seconds} s"
# The pitch stays: rising zero crossings of the left channel per second.
hz=$(ffmpeg -v error -i "$work/fast.wav" -af "pan=mono|c0=c0" -f s16le - | od -An -td2 -v |
  awk '{ for (i = 1; i <= NF; i++) { if (n++ && prev < 0 && $i >= 0) up++; prev = $i } } END { printf "%.1f", up * 44100 / n }')
awk -v f="$hz" 'BEGIN { exit !(f > 990 && f < 1010) }' && pass "pitch kept: $hz Hz" || fail "pitch: $hz Hz"

wrun "$tool" "$in" >/dev/null
rc=$?
[ $rc -eq 2 ] && pass "missing output argument: exit 2" || fail "missing output argument: exit $rc"
wrun "$tool" "$(orves_winpath "$work")\\missing.wav" "$(orves_winpath "$work")\\x.wav" --set "Channel Control/Enable=1" >/dev/null
rc=$?
[ $rc -eq 1 ] && pass "unreadable input: exit 1" || fail "unreadable input: exit $rc"

finish
