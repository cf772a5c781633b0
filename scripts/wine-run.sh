#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's environment.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]   (ORVES_WINE_TIMEOUT seconds, default 300)
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  trap orves_wine_end EXIT
fi
orves_wine_begin || exit 1
# Wine's helper processes (services, the desktop) outlive the program and
# inherit its output: send the output to a file, not to the caller's pipe,
# or the caller (CTest) would wait for those helpers too.
log=$(mktemp)
timeout -k 10 "${ORVES_WINE_TIMEOUT:-300}" wine "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
rm -f "$log"
exit $rc
