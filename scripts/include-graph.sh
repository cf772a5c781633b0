#!/usr/bin/env bash
# The include graph between the source folders: one line per edge
# ("player/playback -> player/core  12"), then a check that the graph has no
# cycle and that the player's folders include only layers below them.
#   bash scripts/include-graph.sh          print the edges and check
# Exit status 1 when a cycle or an upward include is found.
set -euo pipefail
cd "$(dirname "$0")/.."

edges=$(grep -rHoE '^#include "(player|soundproc)/[a-z_]+/' player soundproc tools --include='*.h' --include='*.cpp' |
  sed -E 's|^((player\|soundproc\|tools)/[a-z_-]+)(/[a-z_]+)*/[^/:]*:#include "([a-z]+/[a-z_]+)/|\1 \4|' |
  awk '$1 != $2' | sort | uniq -c | awk '{print $2, $3, $1}')

printf '%s\n' "$edges" | awk 'NF {printf "%-22s -> %-22s %s\n", $1, $2, $3}'

status=0
if ! printf '%s\n' "$edges" | awk 'NF {print $1, $2}' | tsort >/dev/null 2>/tmp/include-graph.$$; then
  echo "cycle between folders:" >&2
  cat /tmp/include-graph.$$ >&2
  status=1
fi
rm -f /tmp/include-graph.$$

# The player's layers, bottom first: a folder includes only folders of lower
# layers, never one of its own layer or above.
rank() {
  case "$1" in
    player/core) echo 0 ;;
    player/window) echo 1 ;;
    player/captions | player/playback) echo 2 ;;
    player/controller | player/dialogs) echo 3 ;;
    player/shell) echo 4 ;;
    *) echo -1 ;;
  esac
}
while read -r from to _; do
  [ -n "$from" ] || continue
  rf=$(rank "$from")
  rt=$(rank "$to")
  if [ "$rf" -ge 0 ] && [ "$rt" -ge 0 ] && [ "$rt" -ge "$rf" ]; then
    echo "upward or sideways include: $from -> $to" >&2
    status=1
  fi
done <<<"$edges"
exit $status
