#!/usr/bin/env bash
# Speed on a PostgreSQL server on this machine: times `corvela validate` of one generated delivery
# on an installation whose history is on a private server (fsync on, as a real server), against
# the same run on the embedded engine, alternating the two; then DESKS desks of one server
# database validating the delivery at once, timed together.
#
#   bench/server.sh [USERS] [LINES_PER_TYPE] [TYPES] [RUNS] [DESKS]
#   e.g. bench/server.sh 100000 1000000 AC 3 3
set -euo pipefail
cd "$(dirname "$0")/.."
users=${1:-100000}
lines=${2:-1000000}
types=${3-AC}
runs=${4:-3}
desks=${5:-3}
build="build-bench"
work=$build/server
cluster=/tmp/corvela-bench-pg

# shellcheck source=bench/delivery.sh
source bench/delivery.sh
make_delivery corvela generate_delivery

bash scripts/pg-cluster.sh start "$cluster" durable >/dev/null
trap 'bash scripts/pg-cluster.sh stop "$cluster"' EXIT
server() { echo "host=$cluster user=postgres dbname=$1"; }

# A fresh installation in DIR, on the server database NAME when given (made anew unless DESK is
# given: then the desk DESK is added to it).
install_in() {
    local dir=$1 name=${2:-} desk=${3:-}
    rm -rf "$dir"
    mkdir -p "$dir"
    if [ -n "$name" ]; then
        [ -n "$desk" ] || PGOPTIONS='-c client_min_messages=warning' psql -q -h "$cluster" \
            -U postgres -d postgres -c "DROP DATABASE IF EXISTS $name" \
            -c "CREATE DATABASE $name TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'"
        "$build/corvela" init "$dir/db" --results "$dir/res" --config "$dir/ripsips.ini" \
            --server "$(server "$name")" ${desk:+--desk "$desk"} >/dev/null
    else
        "$build/corvela" init "$dir/db" --results "$dir/res" --config "$dir/ripsips.ini" >/dev/null
    fi
    [ -n "$desk" ] && return
    "$build/corvela" sedes add 760010012301 --nombre "IPS BENCH" --gerente "GERENTE" \
        --direccion "CALLE 1" --telefono 5550000 --fax 5550001 --config "$dir/ripsips.ini" >/dev/null
}
validate_in() {
    /usr/bin/time -f '%e %M' -o "$1/time.txt" "$build/corvela" validate "$delivery" \
        --today 2026-12-06 --config "$1/ripsips.ini" >"$1/out.txt"
}

: >"$work/server.times"
: >"$work/embedded.times"
for ((i = 1; i <= runs; i++)); do
    install_in "$work/server" bench_servidor
    validate_in "$work/server"
    cat "$work/server/time.txt" >>"$work/server.times"
    install_in "$work/embedded"
    validate_in "$work/embedded"
    cat "$work/embedded/time.txt" >>"$work/embedded.times"
done
ssec=$(cut -d' ' -f1 "$work/server.times" | median)
esec=$(cut -d' ' -f1 "$work/embedded.times" | median)
if ! diff -r "$work/server/res/Validacion" "$work/embedded/res/Validacion" >/dev/null; then
    echo "the server's outputs differ from the embedded engine's"
fi

# DESKS desks of the one server database (the sites are shared), validating at once.
for ((d = 1; d <= desks; d++)); do install_in "$work/desk$d" bench_servidor "puesto$d"; done
start=$(date +%s.%N)
for ((d = 1; d <= desks; d++)); do validate_in "$work/desk$d" & done
wait
together=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { print e - s }')

# What a saved delivery takes on the server: bytes per row of the final tables, indexes included.
/usr/bin/time -f '%e' -o "$work/save.time" "$build/corvela" save --remitente BENCH \
    --periodo 202611 --config "$work/server/ripsips.ini" >/dev/null
echo "save on the server: $(cat "$work/save.time") s"
psql -qAt -h "$cluster" -U postgres -d bench_servidor -c "ANALYZE" -c "
    SELECT c.relname, c.reltuples::bigint, pg_total_relation_size(c.oid),
           round(pg_total_relation_size(c.oid) / greatest(c.reltuples, 1))
    FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
    WHERE n.nspname = 'corvela' AND c.relkind = 'r' AND c.relname LIKE 'f\\_%' AND c.reltuples > 0" \
    | awk -F'|' '{ printf "saved %s: %s rows, %.1f MB, %s bytes a row\n", $1, $2, $3 / 1048576, $4 }'

echo "lines: $total  server seconds: $(cut -d' ' -f1 "$work/server.times" | paste -sd' ')" \
    " embedded seconds: $(cut -d' ' -f1 "$work/embedded.times" | paste -sd' ')"
awk -v n="$total" -v s="$ssec" -v e="$esec" -v d="$desks" -v t="$together" 'BEGIN {
    printf "server:   %.0f lines/s (median %.2f s)\n", n / s, s
    printf "embedded: %.0f lines/s (median %.2f s)\n", n / e, e
    printf "%d desks of the server at once: %.2f s, %.0f lines/s together, %.0f each\n", d, t, d * n / t, n / t
}'
