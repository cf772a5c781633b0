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
server_pid=""
stop_server() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  server_pid=""
}
trap 'stop_server; orves_wine_end' EXIT

# Starts the stand-in in MODE; sets port.
start_server() {
  local portfile="$work/port.$1" i
  rm -f "$portfile"
  python3 "$here/version_server.py" "$1" "$portfile" >>"$work/server.log" 2>&1 &
  server_pid=$!
  for ((i = 0; i < 40; i++)); do
    [ -s "$portfile" ] && { port=$(cat "$portfile"); return 0; }
    sleep 0.1
  done
  return 1
}

# A port nothing listens on: bound, noted and released again.
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }

settings_for() {
  printf "[Orve's MP]\r\nVersion=2.33\r\n[Main]\r\nCheckNewVersion=1\r\nCheckCaptionCodec=0\r\nWebHost=127.0.0.1:%s\r\n" "$1" >"$ini"
}

# Starts the player, expects its window at once, and the new-version dialog
# (class OrvesMPForm) to show or not within a few seconds.
run_case() {
  local what="$1" port="$2" expect="$3" texts="" i started ended
  settings_for "$port"
  started=$(date +%s)
  start_player
  if find_window "Orve's MP" 15 >/dev/null; then
    pass "$what: start-up is not held up"
  else
    fail "$what: no main window"
  fi
  for ((i = 0; i < 12; i++)); do
    texts=$(probe texts OrvesMPForm) && break
    texts=""
    [ "$expect" = dialog ] || [ "$i" -lt 3 ] || break
    sleep 0.5
  done
  if [ "$expect" = dialog ]; then
    if grep -qx '새로운 버전 : v2.40' <<<"$texts" && grep -q '^New caption engine\.$' <<<"$texts" &&
      grep -q '^Faster start\.$' <<<"$texts"; then
      pass "$what: the dialog offers 2.40 with its notes"
    else
      fail "$what: dialog texts: $texts"
    fi
    probe command OrvesMPForm 2 >/dev/null  # "아니오"
  elif [ -n "$texts" ]; then
    fail "$what: a dialog showed: $texts"
  else
    pass "$what: nothing shown"
  fi
  probe close TfrmMain >/dev/null
  wait_player 10
  local code=$?
  ended=$(date +%s)
  if [ "$code" -eq 0 ]; then
    pass "$what: closed normally in $((ended - started)) s"
  else
    fail "$what: exit code $code"
  fi
}

start_server newer || { fail "server did not start"; exit 1; }
run_case "newer version" "$port" dialog
grep -q '^CheckNewVersion=1' "$ini" && pass "the check stays on" || fail "CheckNewVersion changed"
stop_server

start_server error || { fail "server did not start"; exit 1; }
run_case "error page" "$port" none
stop_server

start_server stall || { fail "server did not start"; exit 1; }
run_case "server never answers" "$port" none
stop_server

run_case "connection refused" "$(free_port)" none

echo "passed $passed, failed $failed"
[ "$failed" -eq 0 ]
