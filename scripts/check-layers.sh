#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, or of a sibling layer.
# Every library shares src/ as its include root, so linking alone would not catch it.
#   platform -> db -> rules -> validators -> app -> reports | eapb -> headless -> cli | gui | web
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A rank=([platform]=0 [db]=1 [rules]=2 [validators]=3 [app]=4 [reports]=5 [eapb]=5
  [headless]=6 [cli]=7 [gui]=7 [web]=7)
status=0
for layer in "${!rank[@]}"; do
  [ -d "$layer" ] || continue
  while IFS=: read -r file line included; do
    target=${included%%/*}
    [ -n "${rank[$target]:-}" ] || continue
    if [ "$target" != "$layer" ] && [ "${rank[$target]}" -ge "${rank[$layer]}" ]; then
      echo "src/$file:$line: $layer includes $included, a layer above or beside it"
      status=1
    fi
  done < <(grep -rnoE '^#include "[a-z_]+/[^"]+"' "$layer" --include='*.h' --include='*.cpp' |
    sed -E 's/#include "([^"]+)"/\1/')
done
[ "$status" -eq 0 ] && echo "Capas: ningún include sube de capa."
exit "$status"
