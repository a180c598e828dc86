# Shared by the benchmark scripts (sourced): builds the Release programs named, then writes the
# generated delivery $work/entrega of $users users and $lines lines of each of $types, and sets
# $delivery and $total (its data lines); the timed runs of two ways, alternating; and the median
# of numbers, one a line.
#   make_delivery TARGET...
#   alternate NAME1 FUNCTION1 NAME2 FUNCTION2
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

# Runs FUNCTION1 on the folder $work/NAME1, then FUNCTION2 on $work/NAME2, $runs times, each
# run's time.txt (seconds and peak memory) added to $work/NAME.times.
alternate() {
    : >"$work/$1.times"
    : >"$work/$3.times"
    for ((i = 1; i <= runs; i++)); do
        "$2" "$work/$1"
        cat "$work/$1/time.txt" >>"$work/$1.times"
        "$4" "$work/$3"
        cat "$work/$3/time.txt" >>"$work/$3.times"
    done
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
