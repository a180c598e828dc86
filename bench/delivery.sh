# Shared by the benchmark scripts (sourced): builds the Release programs named, then writes the
# generated delivery $work/entrega of $users users and $lines lines of each of $types, and sets
# $delivery and $total (its data lines); and the median of numbers, one a line.
#   make_delivery TARGET...
#   ... | median
make_delivery() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target "$@" >/dev/null
    rm -rf "$work"
    mkdir -p "$work"
    delivery=$work/entrega
    "$build/generate_delivery" "$delivery" "$users" "$lines" 0.05 20261206 "$types"
    total=$(cat "$delivery"/*000001.txt | grep -c '' || true)
    total=$((total - $(grep -c '' "$delivery/CT000001.txt")))
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
