#!/usr/bin/env bash
# ZmSoundProcessor.ax under Wine: regsvr32 registers the three classes and the
# filter's mapper entry; with a stage switched on, RenderFile of a movie with
# PCM audio inserts the filter by its merit and plays; with every stage off
# the graph plays without it; LogLastFileName writes the movie's path; and
# regsvr32 /u removes every key it wrote.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-common.sh"

key_exists() { wrun reg query "$1" >/dev/null 2>&1; }

FILTER='{3335371D-AF73-426D-90CD-591795FA657A}'
PAGE='{302BDFDC-CFF3-40E1-9294-A85598D1CAC2}'
ABOUT='{3430E9B3-F16E-495B-AC15-D4A16595BE7E}'
CATEGORY='{083863F1-70DE-11D0-BD40-00A0C911CE86}'
UPMIXER='{C2F99BDF-133D-4766-B0C8-4A84B19B8DDD}'
STRETCHER='{6674B5D0-E53B-4A37-A062-8411B44B61CD}'
DMO_KEY='HKCR\DirectShow\MediaObjects'
AUDIO_EFFECT='F3602B3F-0592-48DF-A4CD-674721E7EBEB'
ROOT='HKLM\SOFTWARE\AC3_zembra'

movie=$(orves_winpath "$media/test-mpeg4-pcm.avi")
ax=$(orves_winpath "$ORVES_BIN_DIR/ZmSoundProcessor.ax")
check="$ORVES_BIN_DIR/zmsp_graph_check.exe"

set_dword() { wrun reg add "$ROOT\\$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null; }
wrun reg delete "$ROOT" /f >/dev/null 2>&1

# --- version resource ------------------------------------------------------------
out=$(wrun "$check" --version "$ax")
for line in "file_version=1.1.2.1" "FileDescription=Zembra's Sound Processor" "ProductName=Zembra's Sound Processor" \
            "InternalName=ZmSoundProcessor.ax" "OriginalFilename=ZmSoundProcessor.ax" "OLESelfRegister=AM20" \
            "ActiveMovie=Filter dll"; do
  echo "$out" | grep -qxF "$line" && pass "$line" || fail "version resource lacks $line: $out"
done

# --- registration -------------------------------------------------------------
wrun regsvr32 /s "$ax" || fail "regsvr32 /s failed"
for class in "$FILTER" "$PAGE" "$ABOUT"; do
  out=$(wrun reg query "HKCR\\CLSID\\$class\\InprocServer32" /v ThreadingModel)
  echo "$out" | grep -q "Both" && pass "$class registered, ThreadingModel Both" || fail "$class ThreadingModel: $out"
done
out=$(wrun reg query "HKCR\\CLSID\\$FILTER\\InprocServer32" /ve)
echo "$out" | grep -qi "ZmSoundProcessor.ax" && pass "server path" || fail "server path: $out"
key_exists "HKCR\\CLSID\\$CATEGORY\\Instance\\$FILTER" && pass "filter mapper entry" || fail "no filter mapper entry"

# --- our DMOs: COM classes and DMO registry entries, found and created by a host ---------
for dmo in "$UPMIXER" "$STRETCHER"; do
  out=$(wrun reg query "HKCR\\CLSID\\$dmo\\InprocServer32" /v ThreadingModel)
  echo "$out" | grep -q "Both" && pass "$dmo registered, ThreadingModel Both" || fail "$dmo ThreadingModel: $out"
  key_exists "$DMO_KEY\\${dmo:1:36}" && pass "$dmo in the DMO registry" || fail "$dmo not in the DMO registry"
  key_exists "$DMO_KEY\\Categories\\$AUDIO_EFFECT\\${dmo:1:36}" && pass "$dmo among the audio effects" \
    || fail "$dmo not among the audio effects"
done
out=$(wrun "$ORVES_BIN_DIR/zmsp_dmo_check.exe")
echo "$out" | sed 's/^/  /'
for dmo in "$UPMIXER" "$STRETCHER"; do
  echo "$out" | grep -q "^listed=$dmo" && pass "DMOEnum lists $dmo" || fail "DMOEnum does not list $dmo"
  echo "$out" | grep -q "^created=$dmo" && pass "CoCreateInstance makes $dmo" || fail "CoCreateInstance of $dmo"
done
echo "$out" | grep -q "^upmixed_bytes=1200$" && pass "100 stereo frames upmixed to 5.1" || fail "upmix through the registered DMO"

# --- inserted by merit when a stage is on ----------------------------------------
set_dword "Channel Control" Enable 1
set_dword "Sound Processor" LogLastFileName 1
out=$(wrun "$check" "$movie" 1500)
rc=$?
echo "$out" | sed 's/^/  /'
[ $rc -eq 0 ] && pass "graph with a stage on plays" || fail "graph with a stage on did not play"
echo "$out" | grep -q "^processor=1" && pass "filter inserted by merit" || fail "filter not in the graph"
echo "$out" | grep -q "^connected=1" && pass "both pins connected" || fail "filter pins not connected"
out=$(wrun reg query "$ROOT\\Sound Processor" /v LastFileName)
echo "$out" | grep -qi "test-mpeg4-pcm.avi" && pass "LastFileName written" || fail "LastFileName: $out"

# --- the expander alone: stereo PCM becomes 5.1 through our upmixer -------------------
set_dword "Channel Control" Enable 0
set_dword "Channel Expander" Enable 1
set_dword "Channel Expander" OutputChannels 6
out=$(wrun "$check" "$movie" 1500)
rc=$?
echo "$out" | sed 's/^/  /'
[ $rc -eq 0 ] && pass "graph with the expander on plays without error events" || fail "graph with the expander on"
echo "$out" | grep -q "^output_channels=6" && pass "the processor puts out 6 channels" || fail "processor output is not 6 channels"
set_dword "Channel Control" Enable 1

# --- passed by with every stage off ---------------------------------------------
# "1" stored as text is not a DWORD: it reads as the default, off.
wrun reg add "$ROOT\\Channel Control" /v Enable /t REG_SZ /d 1 /f >/dev/null
set_dword "Channel Expander" Enable 0
set_dword "Time Stretcher" Enable 0
out=$(wrun "$check" "$movie" 1500)
rc=$?
echo "$out" | sed 's/^/  /'
[ $rc -eq 0 ] && pass "graph with every stage off plays" || fail "graph with every stage off did not play"
echo "$out" | grep -q "^processor=0" && pass "filter passed by" || fail "filter in the graph although switched off"

# --- unregistration -----------------------------------------------------------------
wrun regsvr32 /u /s "$ax" || fail "regsvr32 /u failed"
for key in "HKCR\\CLSID\\$FILTER" "HKCR\\CLSID\\$PAGE" "HKCR\\CLSID\\$ABOUT" \
           "HKCR\\CLSID\\$CATEGORY\\Instance\\$FILTER" "HKCR\\CLSID\\$UPMIXER" "HKCR\\CLSID\\$STRETCHER" \
           "$DMO_KEY\\${UPMIXER:1:36}" "$DMO_KEY\\${STRETCHER:1:36}" \
           "$DMO_KEY\\Categories\\$AUDIO_EFFECT\\${UPMIXER:1:36}" \
           "$DMO_KEY\\Categories\\$AUDIO_EFFECT\\${STRETCHER:1:36}"; do
  key_exists "$key" && fail "$key left behind" || pass "$key removed"
done
out=$(wrun reg query "HKCR\\CLSID\\$CATEGORY\\Instance" /s)
echo "$out" | grep -qi "${FILTER:1:8}" && fail "a mapper entry still names the filter" || pass "no mapper entry names the filter"

wrun reg delete "$ROOT" /f >/dev/null 2>&1
finish
