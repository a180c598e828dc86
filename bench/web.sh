#!/usr/bin/env bash
# The web service against the command line on the same delivery and machine: each run validates
# the delivery once with `corvela validate` (writing the errors workbook too, as the service does)
# and once through `corvela-web` (log-in, upload, the run followed on its event stream to its end),
# each on a fresh installation of its own, alternating, and prints the seconds of each (the
# service's upload apart), their medians, the peak memory of each, the machine's load, and whether
# the two gave the same error and accepted-lines files.
#
#   bench/web.sh [USERS] [LINES_PER_TYPE] [TYPES] [RUNS]   (defaults 100000 111111, every type, 3)
#   bench/web.sh sample [RUNS]                             the sample delivery (samples/entrega)
set -euo pipefail
cd "$(dirname "$0")/.."
build="build-bench"
work=$build/web

# shellcheck source=bench/delivery.sh
source bench/delivery.sh
if [ "${1:-}" = sample ]; then
    runs=${2:-3}
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target corvela corvela-web >/dev/null
    rm -rf "$work"
    mkdir -p "$work"
    delivery=samples/entrega
    total=$(($(cat samples/entrega/*.txt | grep -c '') - $(grep -c '' samples/entrega/CT000001.txt)))
else
    users=${1:-100000}
    lines=${2:-111111}
    types=${3-AF,AC,AP,AU,AH,AN,AM,AT,AD}
    runs=${4:-3}
    make_delivery corvela corvela-web generate_delivery
fi

# A fresh installation in DIR with the sample's sites (the generated deliveries' IPS among them)
# and the account "bench".
install_in() {
    rm -rf "$1"
    mkdir -p "$1"
    "$build/corvela" init "$1/db" --results "$1/res" --config "$1/ripsips.ini" >/dev/null
    "$build/corvela" sedes import samples/sedes.csv --config "$1/ripsips.ini" >/dev/null
    printf 'clave-de-bench\n' | "$build/corvela" usuarios add bench --config "$1/ripsips.ini" \
        >/dev/null
}

command_run() {
    install_in "$1"
    mkdir -p "$1/res/Validacion"
    /usr/bin/time -f '%e %M' -o "$1/time.txt" "$build/corvela" validate "$delivery" \
        --xlsx "$1/res/Validacion/760010012301_errores.xlsx" --config "$1/ripsips.ini" \
        >"$1/out.txt" 2>"$1/err.txt"
}

now() { date +%s.%N; }
# The value of a JSON text key of the file (the service's answers are one line).
value_of() { sed -n "s/.*\"$1\":\"\\([^\"]*\\)\".*/\\1/p" "$2"; }

service_run() {
    install_in "$1"
    "$build/corvela-web" --config "$1/ripsips.ini" --listen 127.0.0.1:0 >"$1/web.log" 2>&1 &
    local pid=$!
    until grep -q escucha "$1/web.log" 2>/dev/null; do sleep 0.05; done
    local url
    url=$(sed -n 's/.*escucha en \(http:[^ ]*\).*/\1/p' "$1/web.log")
    curl -s -c "$1/jar" -H 'Content-Type: application/json' \
        -d '{"usuario":"bench","clave":"clave-de-bench"}' "$url/api/sesion" >"$1/sesion.json"
    local csrf files=()
    csrf=$(value_of csrf "$1/sesion.json")
    for f in "$delivery"/*; do files+=(-F "archivos=@$f"); done
    local start uploaded ended
    start=$(now)
    curl -s -b "$1/jar" -H "X-CSRF-Token: $csrf" "${files[@]}" "$url/api/entregas" >"$1/entrega.json"
    uploaded=$(now)
    # The run's end is read off the event stream as it comes (no polling while the run goes on).
    mkfifo "$1/eventos"
    curl -s -N -b "$1/jar" "$url/api/eventos" >"$1/eventos" &
    local events=$!
    (while IFS= read -r line; do
        case $line in
            retry*) : >"$1/abierto" ;;
            "event: fin") break ;;
        esac
    done <"$1/eventos") &
    local reader=$!
    until [ -e "$1/abierto" ]; do sleep 0.02; done
    curl -s -b "$1/jar" -H "X-CSRF-Token: $csrf" -H 'Content-Type: application/json' \
        -d "{\"entrega\":\"$(value_of entrega "$1/entrega.json")\"}" "$url/api/validacion" >/dev/null
    wait "$reader"
    ended=$(now)
    kill "$events" 2>/dev/null || true
    wait "$events" 2>/dev/null || true
    grep VmHWM "/proc/$pid/status" | awk '{print $2}' >"$1/peak.txt"
    kill "$pid"
    wait "$pid" || true
    awk -v s="$start" -v u="$uploaded" -v e="$ended" -v m="$(cat "$1/peak.txt")" \
        'BEGIN {printf "%.2f %.2f %d\n", u - s, e - u, m}' >"$1/time.txt"
}

# md5 of the error and accepted-lines files of a results folder.
outputs() { (cd "$1" && md5sum -- *.ERR *.TXT); }

echo "load before: $(uptime)"
alternate command command_run service service_run
echo "load after:  $(uptime)"

csec=$(cut -d' ' -f1 "$work/command.times" | median)
usec=$(cut -d' ' -f1 "$work/service.times" | median)
ssec=$(cut -d' ' -f2 "$work/service.times" | median)
cmem=$(cut -d' ' -f2 "$work/command.times" | sort -n | tail -1)
smem=$(cut -d' ' -f3 "$work/service.times" | sort -n | tail -1)
echo "lines: $total  command seconds: $(cut -d' ' -f1 "$work/command.times" | paste -sd' ')" \
    " service run seconds: $(cut -d' ' -f2 "$work/service.times" | paste -sd' ')" \
    " service upload seconds: $(cut -d' ' -f1 "$work/service.times" | paste -sd' ')"
awk -v n="$total" -v c="$csec" -v u="$usec" -v s="$ssec" -v cm="$cmem" -v sm="$smem" 'BEGIN {
    printf "command line: %.0f lines/s (median %.2f s)  peak memory %.0f MB\n", n / c, c, cm / 1024
    printf "web service:  %.0f lines/s (median run %.2f s, upload %.2f s)  peak memory %.0f MB\n",
        n / s, s, u, sm / 1024
    printf "service run / command: %.2f; with the upload: %.2f\n", s / c, (s + u) / c
}'
if diff <(outputs "$work/command/res/Validacion") \
    <(outputs "$work/service/res/puestos/principal/Validacion") >"$work/outputs.diff"; then
    echo "outputs: identical ($(outputs "$work/command/res/Validacion" | grep -c '') files)"
else
    echo "outputs: DIFFERENT (< command, > service):"
    cat "$work/outputs.diff"
fi
