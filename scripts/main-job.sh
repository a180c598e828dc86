#!/usr/bin/env bash
# The main job on the embedded default: builds Corvela, creates the databases in a folder of its
# own (build/demo, made anew each time), registers the sample IPS and validates the sample
# delivery, showing the summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build >/dev/null
rm -rf build/demo
mkdir -p build/demo
cfg=build/demo/ripsips.ini
build/corvela init build/demo/db --results build/demo --config "$cfg"
build/corvela sedes import samples/sedes.csv --config "$cfg"
# The sample's dates are of late 2026; today is fixed so the run gives the same results any day.
build/corvela validate samples/entrega --today 2026-12-06 --config "$cfg"
echo
echo "Error files and accepted lines: build/demo/Validacion/"
ls build/demo/Validacion/
