#!/usr/bin/env bash
# Benchmark: generates a delivery with a fixed seed, validates it with `corvela validate` and
# prints lines per second and peak memory (maximum resident size).
#
#   bench/run.sh [USERS] [LINES_PER_TYPE] [TYPES] [BAD_SHARE]
#   e.g. bench/run.sh 200000 0 ""          (a users file only)
#        bench/run.sh 100000 1000000 AC     (100,000 users and 1,000,000 AC lines)
#   VALIDATE_OPTIONS: further options of the timed validate, e.g.
#   VALIDATE_OPTIONS="--xlsx build-bench/run/errores.xlsx" bench/run.sh 1000 100000 AC 1
#        (100,000 failing lines and their errors workbook)
set -euo pipefail
cd "$(dirname "$0")/.."
users=${1:-100000}
lines=${2:-100000}
types=${3-AF,AC,AP,AU,AH,AN,AM,AT,AD}
bad=${4:-0.05}
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target corvela generate_delivery >/dev/null
work=build-bench/run
rm -rf "$work"
mkdir -p "$work"
build-bench/generate_delivery "$work/entrega" "$users" "$lines" "$bad" 20261206 "$types"
cfg="$work/ripsips.ini"
build-bench/corvela init "$work/db" --results "$work" --config "$cfg" >/dev/null
build-bench/corvela sedes add 760010012301 --nombre "IPS BENCH" --gerente "GERENTE" --direccion "CALLE 1" \
  --telefono 5550000 --fax 5550001 --config "$cfg" >/dev/null
total=$(cat "$work"/entrega/*000001.txt | grep -c '' || true)
ct=$(grep -c '' "$work/entrega/CT000001.txt")
total=$((total - ct))
# shellcheck disable=SC2086
/usr/bin/time -f '%e %M' -o "$work/time.txt" \
  build-bench/corvela validate "$work/entrega" --today 2026-12-06 --config "$cfg" ${VALIDATE_OPTIONS:-} \
  >"$work/out.txt"
read -r secs kb <"$work/time.txt"
echo "lines: $total  seconds: $secs  lines/s: $(awk -v n="$total" -v s="$secs" 'BEGIN{printf "%.0f", (s>0? n/s : 0)}')  peak memory: $((kb / 1024)) MB"
