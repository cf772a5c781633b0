#!/usr/bin/env bash
# Runs every test: the native suites (sanitized), the libFuzzer targets built
# with clang (so that what clang refuses cannot slip in unnoticed), then the
# Wine suites on a private display with one wineserver for the whole run.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${ORVES_TEST_JOBS:-2}"

status=0
echo "== native tests"
ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1

echo "== fuzz targets (clang)"
bash scripts/build-fuzz.sh || status=1

echo "== Windows tests under Wine"
source scripts/wine-env.sh
unset DISPLAY   # always a private Xvfb: tests must not depend on the user's screen
if orves_wine_begin; then
  ctest --test-dir build/win64 --output-on-failure -j 1 || status=1
else
  echo "could not prepare Wine" >&2
  status=1
fi
orves_wine_end
exit $status
