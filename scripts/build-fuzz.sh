#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build/fuzz, and only
# them (the target fuzz_targets): `make fuzz` and the test run both use it, so
# a change that clang refuses is caught by `make test`.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${JOBS:-$(nproc)}"
start=$(date +%s)
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVES_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$jobs" --target fuzz_targets
echo "fuzz targets built in $(($(date +%s) - start)) s: $(ls build/fuzz/bin/*_fuzz | xargs -n1 basename | tr '\n' ' ')"
