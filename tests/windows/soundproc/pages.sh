#!/usr/bin/env bash
# The property pages under Wine, through the server regsvr32 registered: the
# titles in both languages, GetPages, one status page per filter, activation
# cycles that leave nothing behind, our objects' pages editing their
# parameter blocks, and the status page on screen while a
# tone plays and the graph stops: its format line, meter rows and bars are
# checked in a screenshot.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"; orves_wine_end' EXIT

ROOT='HKLM\SOFTWARE\AC3_zembra'
ax=$(orves_winpath "$ORVES_BIN_DIR/ZmSoundProcessor.ax")
check="$ORVES_BIN_DIR/zmsp_page_check.exe"
set_dword() { wrun reg add "$ROOT${1:+\\$1}" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null; }
expect_line() {  # OUTPUT LINE WHAT
  echo "$1" | grep -qxF "$2" && pass "$3" || fail "$3: expected '$2' in: $(echo "$1" | tr '\n' ' ')"
}
value_of() { echo "$1" | sed -n "s/^$2=//p" | head -1; }

wrun reg delete "$ROOT" /f >/dev/null 2>&1
wrun regsvr32 /s "$ax" || fail "regsvr32 /s failed"
set_dword "Channel Control" Enable 1

# --- titles: the setting, then the thread's language --------------------------------
set_dword "" UILanguage 2
out=$(wrun "$check" info --korean-thread)
expect_line "$out" "status_title=Sound Processor" "UILanguage 2 on a Korean thread: English status title"
expect_line "$out" "about_title=About" "UILanguage 2: English about title"
size=$(value_of "$out" status_size)
[ -n "$size" ] && [ "${size%x*}" -gt "${size#*x}" ] && pass "status page size $size" || fail "status page size: $size"
set_dword "" UILanguage 1
out=$(wrun "$check" info)
expect_line "$out" "status_title=소리 처리기" "UILanguage 1: Korean status title"
expect_line "$out" "about_title=정보" "UILanguage 1: Korean about title"
set_dword "" UILanguage 0
out=$(wrun "$check" info --korean-thread)
expect_line "$out" "status_title=소리 처리기" "UILanguage 0 on a Korean thread: Korean"
out=$(wrun "$check" info)
expect_line "$out" "status_title=Sound Processor" "UILanguage 0 on an English thread: English"

# --- GetPages, connection and activation cycles ---------------------------------------------
set_dword "" UILanguage 2
out=$(wrun "$check" lifecycle)
expect_line "$out" "pages={302BDFDC-CFF3-40E1-9294-A85598D1CAC2},{3430E9B3-F16E-495B-AC15-D4A16595BE7E}" \
  "GetPages: the status page, then the about page"
expect_line "$out" "connect_hr=0x00000000" "status page connects"
expect_line "$out" "second_connect_hr=0x80004005" "a second status page for the same filter is refused"
expect_line "$out" "activation_failures=0" "20 activate/show/deactivate cycles of both pages"
expect_line "$out" "windows_left=0" "no page window left after deactivation"
expect_line "$out" "deactivate_again_hr=0x8000FFFF" "deactivating an inactive page is unexpected"
expect_line "$out" "reconnect_hr=0x00000000" "after a disconnect another page may attach"
expect_line "$out" "filter_refs_left=0" "the pages hold no reference to the filter after disconnecting"
expect_line "$out" "server_can_unload_hr=0x00000000" "no page or filter object left alive in the server"

# --- our objects' pages edit their parameter blocks ---------------------------------------------
out=$(wrun "$check" objects)
expect_line "$out" "upmixer_create_hr=0x00000000" "upmixer page created for our upmixer"
expect_line "$out" "upmixer_dirty_before=0" "upmixer page clean when shown"
expect_line "$out" "upmixer_dirty_after=1" "a changed choice makes the upmixer page dirty"
expect_line "$out" "upmixer_apply_hr=0x00000000" "upmixer page applies"
expect_line "$out" "upmixer_word_after=2" "the chosen mode (music) reaches the upmixer's block"
expect_line "$out" "stretcher_create_hr=0x00000000" "time-stretcher page created for our stretcher"
expect_line "$out" "stretcher_word_before=1000" "time stretcher starts at normal speed"
expect_line "$out" "stretcher_bad_apply_hr=0x80070057" "a speed that is not a number is refused"
expect_line "$out" "stretcher_apply_hr=0x00000000" "time-stretcher page applies"
expect_line "$out" "stretcher_word_after=1500" "the typed speed reaches the stretcher's block"

# --- on screen: a stereo tone expanded to 5.1 and boosted; the graph stops while the page refreshes
set_dword "Channel Expander" Enable 1
set_dword "Channel Expander" OutputChannels 6
set_dword "Channel Control" EnableVolBoost 1
set_dword "Sound Meter" BarColor 0x00FF00              # 0x00RRGGBB: green bars
set_dword "Sound Meter" BarBackgroundColor 0x0000FF    # on blue
ready="$work/ready.txt"
wave=$(orves_winpath "$media/test-tone.wav")
timeout -k 5 120 wine "$check" show "$wave" "$(orves_winpath "$ready")" 4000 >"$work/show.log" 2>/dev/null </dev/null &
shower=$!
for _ in $(seq 1 200); do grep -q '^ready=1' "$ready" 2>/dev/null && break; sleep 0.1; done
shot="$ORVES_BUILD_DIR/soundproc-pages.png"
if grep -q '^ready=1' "$ready" 2>/dev/null; then
  import -window root "$shot"
else
  fail "the status page never came up: $(tr -d '\r' <"$work/show.log" | tr '\n' ' ')"
fi
wait $shower && pass "page shown, graph stopped while refreshing, page closed" || fail "show run: $(tr -d '\r' <"$work/show.log")"
info=$(tr -d '\r' <"$ready" 2>/dev/null)
expect_line "$info" "input=2Ch / 44100Hz / 16bit" "input: the format line without a speaker line"
expect_line "$info" "output=6Ch / 44100Hz / 16bit|||FL FR FC LF BL BR " "output: 6 channels and, after a soft break, the speakers"
expect_line "$info" "expansion=Pro Logic II Movie" "expansion state"
expect_line "$info" "expansion_button_enabled=1" "the upmixer's page button is enabled once the object exists"
expect_line "$info" "control=OFF|OFF / OFF / +10dB" "channel control: the boost alone"
names=(FL FR FC LF BL BR)
for row in 1 2 3 4 5 6; do
  expect_line "$info" "label$row=CH$row (${names[row - 1]})" "meter row $row labelled"
done
for row in 7 8; do
  expect_line "$info" "label$row=" "meter row $row emptied"
  expect_line "$info" "bar${row}_visible=0" "meter row $row bar hidden"
done
# A tone equal in both channels is steered to the centre: row 3 (FC) carries it.
value=$(value_of "$info" value3)
[ "${value:-0}" -gt 100 ] && pass "row 3 (FC) shows a level ($value)" || fail "row 3 level: '$value'"

# Pixels of a rectangle "x y w h" that are exactly the colour.
count_colour() {  # RECT COLOUR
  set -- $1 "$2"
  convert "$shot" -crop "${3}x${4}+${1}+${2}" +repage -fill black +opaque "$5" -fill white -opaque "$5" \
    -format "%[fx:round(mean*w*h)]" info:
}
if [ -f "$shot" ]; then
  rect=$(value_of "$info" "bar3_rect")
  green=$(count_colour "$rect" "#00FF00")
  blue=$(count_colour "$rect" "#0000FF")
  area=$(echo "$rect" | awk '{print $3 * $4}')
  [ "$green" -gt $((area / 4)) ] && [ "$blue" -gt 0 ] && pass "bar 3 drawn: $green green, $blue blue of $area" \
    || fail "bar 3 pixels: $green green, $blue blue of $area at $rect"
  rect=$(value_of "$info" "bar1_rect")
  green=$(count_colour "$rect" "#00FF00")
  blue=$(count_colour "$rect" "#0000FF")
  [ "$green" -eq 0 ] && [ "$blue" -gt $((area / 2)) ] && pass "bar 1 (FL, silent) empty: $blue blue" \
    || fail "bar 1 pixels: $green green, $blue blue at $rect"
  rect=$(value_of "$info" "bar7_rect")
  coloured=$(( $(count_colour "$rect" "#00FF00") + $(count_colour "$rect" "#0000FF") ))
  [ "$coloured" -eq 0 ] && pass "bar 7 not drawn" || fail "bar 7 shows $coloured bar pixels"
  rect=$(value_of "$info" "label1_rect")
  ink=$(set -- $rect; convert "$shot" -crop "${3}x${4}+${1}+${2}" +repage -threshold 50% -negate \
        -format "%[fx:round(mean*w*h)]" info:)
  [ "$ink" -gt 10 ] && pass "row 1 label drawn ($ink dark pixels)" || fail "row 1 label: $ink dark pixels"
fi

wrun regsvr32 /u /s "$ax" || fail "regsvr32 /u failed"
for page in '{30D4D9F7-9AFE-47ED-8E2E-325EAA948528}' '{2DDB0A90-BC33-4EE1-B1BF-E4E8B0060B06}'; do
  wrun reg query "HKCR\\CLSID\\$page" >/dev/null 2>&1 && fail "object page $page left registered" \
    || pass "object page $page unregistered"
done
wrun reg delete "$ROOT" /f >/dev/null 2>&1
finish
