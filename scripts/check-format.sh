#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format (.clang-format) makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "Formato: todos los archivos C++ cumplen .clang-format."
