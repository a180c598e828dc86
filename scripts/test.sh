#!/usr/bin/env bash
# Installs what is missing, builds Corvela and runs its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build tests
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DCORVELA_WERROR="${CORVELA_WERROR:-OFF}"
cmake --build build
ctest --test-dir build --output-on-failure
