#!/usr/bin/env bash
# Fails when clang-tidy (the checks of .clang-tidy) finds anything in a source file of src/ or in
# a header of src/ it includes. It reads the compile commands of the build folder given (build by
# default), which must have been configured (and built, for the desktop program's generated
# files) first.
#   bash scripts/check-tidy.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
root=$(pwd)
# The build passes GCC's warning options, which clang does not all know.
# Its output is coloured whatever it is written to: the colours are taken out of the log.
run-clang-tidy -quiet -p "$build" -j "${TIDY_JOBS:-2}" -header-filter="^$root/src/" \
    -extra-arg=-Wno-unknown-warning-option "^$root/src/.*\.cpp$" 2>&1 |
    sed -E 's/\x1b\[[0-9;]*m//g' >"$build/clang-tidy.log" || {
    cat "$build/clang-tidy.log"
    echo "clang-tidy falló." >&2
    exit 1
}
if grep -E '(warning|error): ' "$build/clang-tidy.log"; then
    echo "clang-tidy: hay avisos (arriba)." >&2
    exit 1
fi
echo "clang-tidy: ningún aviso en src/."
