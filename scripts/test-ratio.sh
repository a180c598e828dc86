#!/usr/bin/env bash
# Reports the lines of tests/ against those of src/ (.cpp and .h files; fuzz/ and bench/ are not
# counted). A report, never a failure: the tests are kept at or under 36 % of the code, each
# catching a fault. With --folders, the lines of each folder of both as well.
set -euo pipefail
cd "$(dirname "$0")/.."
lines() { git ls-files --cached --others --exclude-standard -- "$@" | grep -E '\.(cpp|h)$' | tr '\n' '\0' | xargs -0r cat | wc -l; }
tests=$(lines tests)
code=$(lines src)
if [ "${1:-}" = "--folders" ]; then
  for top in src tests; do
    for folder in $(git ls-files --cached --others --exclude-standard -- "$top" | grep -E '\.(cpp|h)$' | cut -d/ -f2 | sort -u); do
      printf '%-20s %6d\n' "$top/$folder" "$(lines "$top/$folder")"
    done
  done
fi
awk -v t="$tests" -v c="$code" 'BEGIN {
  printf "Pruebas: tests/ tiene %d líneas, el %.1f %% de las %d de src/ (tope: 36 %%).\n", t, 100 * t / c, c
}'
