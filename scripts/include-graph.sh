#!/usr/bin/env bash
# The include graph between the source folders: one line per edge
# ("player/playback -> player/core  12"), then a check that the graph has no
# cycle, that the player's folders include only layers below them, that the
# DirectShow base (directshow/) sits below the filter modules and includes
# none of them, and that the player never includes a filter module or the base.
#   bash scripts/include-graph.sh          print the edges and check
# Exit status 1 when a cycle or an upward include is found.
set -euo pipefail
cd "$(dirname "$0")/.."

folders=$(for f in player soundproc directshow codecs tools; do [ -d "$f" ] && echo "$f"; done)
edges=$(grep -rHoE '^#include "(player|soundproc|directshow|codecs)/[a-z_]+/' $folders --include='*.h' --include='*.cpp' |
  sed -E 's|^((player\|soundproc\|directshow\|codecs\|tools)/[a-z_-]+)(/[a-z_]+)*/[^/:]*:#include "([a-z]+/[a-z_]+)/|\1 \4|' |
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
# The DirectShow base's layers, bottom first: compat (native only), the COM
# object base, the filter base classes.
ds_rank() {
  case "$1" in
    directshow/compat) echo 0 ;;
    directshow/com) echo 1 ;;
    directshow/base) echo 2 ;;
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
  case "$from:$to" in
    player/*:directshow/* | player/*:soundproc/* | player/*:codecs/*)
      echo "the player includes a filter module or the DirectShow base: $from -> $to" >&2
      status=1
      ;;
    directshow/*:soundproc/* | directshow/*:codecs/* | directshow/*:player/*)
      echo "the DirectShow base includes a module above it: $from -> $to" >&2
      status=1
      ;;
    directshow/*:directshow/*)
      if [ "$(ds_rank "$to")" -ge "$(ds_rank "$from")" ]; then
        echo "upward include inside the DirectShow base: $from -> $to" >&2
        status=1
      fi
      ;;
    soundproc/*:codecs/* | codecs/*:soundproc/*)
      echo "the filter modules include each other: $from -> $to" >&2
      status=1
      ;;
  esac
done <<<"$edges"
exit $status
