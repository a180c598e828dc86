#!/usr/bin/env bash
# The one list of the Debian packages Corvela needs, in four groups, and the installer of those
# that are missing. The README's commands and CI call it; nothing else lists packages.
#   bash scripts/install-deps.sh GROUP...      GROUP: build, tests, ci, package
#   bash scripts/install-deps.sh --list GROUP... prints the packages of the groups and stops
# build: what building and running Corvela needs (the desktop program and the manual pages
# included); tests: what the test command adds; ci: what only CI uses (the fuzzing compiler, the
# format check, clang-tidy); package: what the package check adds (the manual page reader).
# The tests group also installs the browser tests' module (puppeteer-core, pinned by
# tests/web/browser/package-lock.json) with `npm ci`, using the machine's node and npm: Debian's
# nodejs is added only where there is no node, and Debian's npm only where node has no npm of its
# own (the npm that comes with a Node.js install conflicts with Debian's).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build_packages=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev libsqlitecpp-dev libcli11-dev libfmt-dev libssl-dev
  nlohmann-json3-dev libpq-dev libcpp-httplib-dev libsodium-dev libzip-dev help2man
  libxlsxwriter-dev
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n fonts-dejavu-core
)
tests_packages=(
  libgtest-dev googletest sqlite3 chromium postgresql openssl python3-openpyxl
)
ci_packages=(
  clang-16 libclang-rt-16-dev clang-format clang-tidy
)
package_packages=(
  man-db
)

usage() {
  echo "uso: bash scripts/install-deps.sh [--list] build|tests|ci|package ..." >&2
  exit 2
}

list_only=0
browser_module=0
if [ "${1:-}" = "--list" ]; then
  list_only=1
  shift
fi
[ $# -gt 0 ] || usage
wanted=()
for group in "$@"; do
  case "$group" in
    build) wanted+=("${build_packages[@]}") ;;
    tests)
      wanted+=("${tests_packages[@]}")
      command -v node >/dev/null 2>&1 || wanted+=(nodejs)
      command -v npm >/dev/null 2>&1 || wanted+=(npm)
      browser_module=1
      ;;
    ci) wanted+=("${ci_packages[@]}") ;;
    package) wanted+=("${package_packages[@]}") ;;
    *) usage ;;
  esac
done

if [ "$list_only" -eq 1 ]; then
  echo "${wanted[@]}"
  exit 0
fi

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "Este sistema no es Debian (no hay dpkg ni apt-get). Instale estos paquetes o sus" >&2
  echo "equivalentes y vuelva a ejecutar:" >&2
  echo "  ${wanted[*]}" >&2
  exit 1
fi

# A package counts as present only when it is fully installed (a removed package keeps its
# configuration files and is still known to dpkg).
installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=()
for p in "${wanted[@]}"; do
  installed "$p" || missing+=("$p")
done
# The browser tests' module, exactly as the lock file pins it, installed again only when the lock
# file changed since the last install.
install_browser_module() {
  [ "$browser_module" -eq 1 ] || return 0
  local folder=$root/tests/web/browser
  if cmp -s "$folder/package-lock.json" "$folder/node_modules/.corvela-lock" 2>/dev/null; then
    echo "Módulo de las pruebas en el navegador: instalado."
    return 0
  fi
  (cd "$folder" && npm ci --ignore-scripts --no-audit --no-fund)
  cp "$folder/package-lock.json" "$folder/node_modules/.corvela-lock"
}

if [ ${#missing[@]} -eq 0 ]; then
  echo "Paquetes: todos instalados ($*)."
  install_browser_module
  exit 0
fi

echo "Paquetes que faltan: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "Ejecute como root y vuelva a intentar:" >&2
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
install_browser_module
