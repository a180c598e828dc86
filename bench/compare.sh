#!/usr/bin/env bash
# Speed yardstick: times `corvela validate` against `floor` (read, split, store and copy every
# line, no checks) on the same generated delivery, alternating the two, and prints the lines per
# second of each (medians), the ratio of their times and the peak memory of each. When validate
# has --no-cache it then checks that a run with and a run without the caches give the same
# error files, accepted-lines files and stored rows, on a delivery of CHECK_USERS users
# and CHECK_LINES lines per type (by default the same size as the timed one). The load of the
# machine (`uptime`) is printed before and after the timed runs. A run with --threads 1 is
# checked against the default run the same way.
#
#   bench/compare.sh [USERS] [LINES_PER_TYPE] [TYPES] [RUNS]  (defaults 100000 111111, every type, 5)
#   e.g. bench/compare.sh 100000 1000000 AC                     (100,000 users, 1,000,000 AC lines)
#   CHECK_USERS=5000 CHECK_LINES=5000 bench/compare.sh        (a smaller check)
#   VALIDATE_OPTIONS="--threads 1" bench/compare.sh            (options of the timed validate runs)
# TYPES is a comma-separated list of file types other than US, as for bench/run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
users=${1:-100000}
lines=${2:-111111}
types=${3-AF,AC,AP,AU,AH,AN,AM,AT,AD}
runs=${4:-5}
check_users=${CHECK_USERS:-$users}
check_lines=${CHECK_LINES:-$lines}
build="build-bench"
work=$build/compare
tables="usuario transacciones consulta procedimientos urgencias hospitalizacion nacidos
        medicamentos Otrosers descripcion ERRORES"

# shellcheck source=bench/delivery.sh
source bench/delivery.sh
make_delivery corvela generate_delivery floor

# A fresh installation in DIR (databases, results, configuration), then one validation of
# $delivery timed into DIR/time.txt. Extra arguments go to `corvela validate`.
validate_in() {
    local dir=$1
    shift
    rm -rf "$dir"
    mkdir -p "$dir"
    "$build/corvela" init "$dir/db" --results "$dir/res" --config "$dir/ripsips.ini" >/dev/null
    "$build/corvela" sedes add 760010012301 --nombre "IPS BENCH" --gerente "GERENTE" \
        --direccion "CALLE 1" --telefono 5550000 --fax 5550001 --config "$dir/ripsips.ini" >/dev/null
    /usr/bin/time -f '%e %M' -o "$dir/time.txt" "$build/corvela" validate "$delivery" \
        --today 2026-12-06 --config "$dir/ripsips.ini" "$@" >"$dir/out.txt"
}

floor_in() {
    rm -rf "$1"
    mkdir -p "$1"
    /usr/bin/time -f '%e %M' -o "$1/time.txt" "$build/floor" "$delivery" "$1/out" >/dev/null
}

echo "load before: $(uptime)"
# The validations timed take VALIDATE_OPTIONS.
timed_validate() {
    # shellcheck disable=SC2086
    validate_in "$1" ${VALIDATE_OPTIONS:-}
}
alternate validate timed_validate floor floor_in
echo "load after:  $(uptime)"

vsec=$(cut -d' ' -f1 "$work/validate.times" | median)
fsec=$(cut -d' ' -f1 "$work/floor.times" | median)
vmem=$(cut -d' ' -f2 "$work/validate.times" | sort -n | tail -1)
fmem=$(cut -d' ' -f2 "$work/floor.times" | sort -n | tail -1)
seconds() { cut -d' ' -f1 "$1" | paste -sd' '; }
echo "lines: $total  validate seconds: $(seconds "$work/validate.times")  floor seconds: $(seconds "$work/floor.times")"
awk -v n="$total" -v v="$vsec" -v f="$fsec" -v vm="$vmem" -v fm="$fmem" 'BEGIN {
    printf "validate: %.0f lines/s (median %.2f s)  peak memory %.0f MB\n", n / v, v, vm / 1024
    printf "floor:    %.0f lines/s (median %.2f s)  peak memory %.0f MB\n", n / f, f, fm / 1024
    printf "validate time / floor time: %.2f\n", v / f
}'

# Identity check: the caches must not change any result.
if ! "$build/corvela" validate --help | grep -q -- '--no-cache'; then
    echo "identity check skipped: corvela validate has no --no-cache"
    exit 0
fi
# The fingerprint of a validation: md5 of each result file and of each table's rows.
fingerprint() {
    (cd "$1/res/Validacion" && md5sum -- *)
    for t in $tables; do
        echo "$(sqlite3 "$1/db/registros_ips.db" "select * from $t" | md5sum | cut -d' ' -f1)  table $t"
    done
}
delivery=$work/entrega_check
"$build/generate_delivery" "$delivery" "$check_users" "$check_lines" 0.05 20261206 "$types"
validate_in "$work/cached"
validate_in "$work/uncached" --no-cache
fingerprint "$work/cached" >"$work/cached.md5"
fingerprint "$work/uncached" >"$work/uncached.md5"
echo "check delivery: $(cut -d' ' -f1 "$work/cached/time.txt") s with caches," \
    "$(cut -d' ' -f1 "$work/uncached/time.txt") s with --no-cache"
# The same with a run on one thread, when validate has --threads.
if "$build/corvela" validate --help | grep -q -- '--threads'; then
    validate_in "$work/one_thread" --threads 1
    fingerprint "$work/one_thread" >"$work/one_thread.md5"
    echo "check delivery: $(cut -d' ' -f1 "$work/one_thread/time.txt") s with --threads 1"
fi
for other in uncached one_thread; do
    [ -f "$work/$other.md5" ] || continue
    if diff "$work/cached.md5" "$work/$other.md5" >"$work/identity.diff"; then
        echo "identity check ($other, $check_users users, $check_lines lines per type of $types): identical ($(grep -c '' "$work/cached.md5") files and tables)"
    else
        echo "identity check ($other): DIFFERENT (< default run, > $other):"
        cat "$work/identity.diff"
    fi
done
