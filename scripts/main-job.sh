#!/usr/bin/env bash
# The main job on the embedded default: builds Corvela, creates the databases in a folder of its
# own (build/demo, made anew each time), registers the sample IPS and validates the sample
# delivery, showing the summary. Each step says what it does; the build shows its progress.
set -euo pipefail
cd "$(dirname "$0")/.."
step() { echo "== $*"; }
step "1/5 Paquetes de Debian"
bash scripts/install-deps.sh build
step "2/5 Compilación en build/ (la primera vez, unos minutos; ninja muestra [hechos/total])"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build
step "3/5 Bases de datos y configuración en build/demo"
rm -rf build/demo
mkdir -p build/demo
cfg=build/demo/ripsips.ini
build/corvela init build/demo/db --results build/demo --config "$cfg"
step "4/5 Sedes de ejemplo (samples/sedes.csv)"
build/corvela sedes import samples/sedes.csv --config "$cfg"
step "5/5 Validación de la entrega de ejemplo (samples/entrega)"
# The sample's dates are of late 2026; today is fixed so the run gives the same results any day.
build/corvela validate samples/entrega --today 2026-12-06 --config "$cfg"
echo
echo "Error files and accepted lines: build/demo/Validacion/"
ls build/demo/Validacion/
