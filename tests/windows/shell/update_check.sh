#!/usr/bin/env bash
# The update check against a local stand-in for the web host, under Wine:
#   - a newer version opens the new-version dialog with its version and notes;
#   - an error page, a server that never answers and a refused connection
#     show nothing, and neither start-up nor closing waits for the request.
# Usage: update_check.sh   (env ORVES_BUILD_DIR: the mingw build tree)
set -uo pipefail
root="${ORVES_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)}"
here="$root/tests/windows/shell"
source "$root/tests/windows/e2e_common.sh" e2e-update

probe() { timeout 20 wine "$bin/form_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
servers=()
stop_servers() {
  local pid
  for pid in "${servers[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  servers=()
}
trap 'stop_servers; orves_wine_end' EXIT

# Starts the stand-in in MODE; sets port.
start_server() {
  local portfile="$work/port.$1" i
  rm -f "$portfile"
  python3 "$here/version_server.py" "$1" "$portfile" >>"$work/server.log" 2>&1 &
  servers+=($!)
  for ((i = 0; i < 40; i++)); do
    [ -s "$portfile" ] && { port=$(cat "$portfile"); return 0; }
    sleep 0.1
  done
  return 1
}

# A port nothing listens on: bound, noted and released again.
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }

# A player of its own in folder $1 (so each has its own settings file) with
# the web host at port $2; its process id goes to pids.
pids=()
start_player_at() {
  mkdir -p "$1"
  cp "$bin/OrvesMP.exe" "$1/"
  [ -d "$bin/Skin" ] && cp -r "$bin/Skin" "$1/"
  printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nCheckNewVersion=1\r\nCheckCaptionCodec=0\r\nWebHost=127.0.0.1:%s\r\n" "$2" \
    >"$1/OrvesMP20.ini"
  timeout -k 5 60 wine "$1/OrvesMP.exe" >>"$1/wine.log" 2>&1 &
  pids+=($!)
}

# Waits up to $1 seconds for $2 visible main windows.
main_windows() {
  local i count=0
  for ((i = 0; i < $1 * 4; i++)); do
    count=$(xdotool search --onlyvisible --name "$(title_pattern "Orve's MP")" 2>/dev/null | wc -l)
    [ "$count" -ge "$2" ] && return 0
    sleep 0.25
  done
  echo "only $count main windows" >&2
  return 1
}

# Closes every main window and expects every player to end normally within
# $1 seconds.
close_all() {
  local what="$1" limit="$2" pid code bad=0 started
  started=$(date +%s)
  probe close TfrmMain >/dev/null
  for pid in "${pids[@]}"; do
    while kill -0 "$pid" 2>/dev/null && [ $(($(date +%s) - started)) -lt "$limit" ]; do sleep 0.25; done
    kill "$pid" 2>/dev/null
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || bad=$code
  done
  pids=()
  if [ "$bad" -eq 0 ]; then pass "$what: closed normally"; else fail "$what: exit code $bad"; fi
}

# Four players at once, each with its own stand-in: a newer version, an
# error page, a server that never answers, and a refused connection.
start_server newer || { fail "server did not start"; exit 1; }
start_player_at "$work/newer" "$port"
start_server error || { fail "server did not start"; exit 1; }
start_player_at "$work/error" "$port"
start_server stall || { fail "server did not start"; exit 1; }
start_player_at "$work/stall" "$port"
start_player_at "$work/refused" "$(free_port)"
main_windows 25 4 && pass "start-up is not held up" || fail "main windows missing"

# Only the newer version opens the dialog, with its version and notes.
texts=""
for ((i = 0; i < 20; i++)); do
  texts=$(probe texts OrvesMPForm) && break
  sleep 0.5
done
sleep 1
texts=$(probe texts OrvesMPForm)
if grep -qx '새로운 버전 : v2.40' <<<"$texts" && grep -q '^New caption engine\.$' <<<"$texts" &&
  grep -q '^Faster start\.$' <<<"$texts"; then
  pass "the newer version's dialog offers 2.40 with its notes"
else
  fail "dialog texts: $texts"
fi
dialogs=$(grep -c '^새로운 버전' <<<"$texts")
[ "$dialogs" -eq 1 ] && pass "the failed checks show nothing" || fail "$dialogs dialogs shown"

# "아니오" keeps the check on; every player then ends well before the
# request's 20-second limit, the one whose server never answers included.
probe command OrvesMPForm 2 >/dev/null
close_all "all four" 10
profile_text "$work/newer/OrvesMP20.ini" | grep -q '^CheckNewVersion=1' && pass "the check stays on" || fail "CheckNewVersion changed"

echo "passed $passed, failed $failed"
[ "$failed" -eq 0 ]
