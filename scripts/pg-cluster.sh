#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests: made in a folder of its own, reachable only through
# a Unix socket in that folder (no TCP port), stopped and removed at the end.
#   bash scripts/pg-cluster.sh start DIR [durable]
#                                           makes and starts the cluster (DIR is emptied first);
#                                           durable: flushed to disk as a real server (benchmarks)
#   bash scripts/pg-cluster.sh stop DIR     stops it and removes DIR
# As root the cluster belongs to the user postgres; as another user, to that user. Where the
# server programs are not installed, start says so and leaves no cluster: the tests that need a
# server are then skipped.
set -euo pipefail

[ $# -ge 2 ] || { echo "uso: bash scripts/pg-cluster.sh start|stop CARPETA [durable]" >&2; exit 2; }
action=$1
dir=$2
fsync=off
[ "${3:-}" = durable ] && fsync=on
bin=/usr/lib/postgresql/15/bin
[ -x "$bin/initdb" ] || bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)

as_owner=()
if [ "$(id -u)" = 0 ]; then
  as_owner=(runuser -u postgres --)
fi

case "$action" in
  start)
    if [ -d "$dir/data" ] && [ -n "$bin" ]; then
      "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    mkdir -p "$dir"
    if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
      echo "No están los programas del servidor PostgreSQL: las pruebas con servidor se omiten."
      exit 0
    fi
    [ "$(id -u)" = 0 ] && chown postgres: "$dir"
    "${as_owner[@]}" "$bin/initdb" -D "$dir/data" -A trust -E UTF8 --locale=C >"$dir/initdb.log"
    # Only the socket in the folder; fsync off unless durable: a test cluster holds nothing
    # worth a flush.
    "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
      -o "-c listen_addresses='' -k $dir -c fsync=$fsync -c max_connections=50" start >/dev/null
    echo "Servidor de pruebas en $dir"
    ;;
  stop)
    if [ -d "$dir/data" ] && [ -n "$bin" ]; then
      "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
    fi
    rm -rf "$dir"
    ;;
  *)
    echo "uso: bash scripts/pg-cluster.sh start|stop CARPETA" >&2
    exit 2
    ;;
esac
