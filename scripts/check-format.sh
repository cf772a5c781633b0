#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the tree does not follow the
# tree's .clang-format.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
mapfile -t files < <(find player soundproc directshow codecs tools tests bench fuzz \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.inl' \) 2>/dev/null | sort)
bad=()
for f in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then bad+=("$f"); fi
done
if [ ${#bad[@]} -ne 0 ]; then
  printf 'not formatted (clang-format -i FILE): %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "${#files[@]} files follow .clang-format"
