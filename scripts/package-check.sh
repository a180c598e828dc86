#!/usr/bin/env bash
# Builds the Debian package, installs it and checks that the installed programs work as an
# operator would start them: through PATH, from an empty folder outside this tree. Then removes
# the package again. Needs root (or sudo) for apt-get; run after scripts/test.sh, whose build
# gives the summary the installed program must print.
#   bash scripts/package-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh build
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

# The package: a release build without the test suite and without any path of this tree.
rm -rf build-pkg
cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DCORVELA_SOURCE_REFERENCE=OFF >/dev/null
cmake --build build-pkg
(cd build-pkg && cpack -G DEB >/dev/null)
deb=$(ls build-pkg/corvela_*_amd64.deb)
echo "== $deb"
dpkg -c "$deb"
dpkg -I "$deb" | grep -E '^ (Package|Version|Depends|Maintainer):'

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get install -y "./$deb" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sample delivery validated by the installed program, and the same by the build tree's
# program, in the same folders, so the two summaries can be compared line by line.
run_sample() {
  local program=$1
  rm -rf "$work/inst"
  mkdir -p "$work/inst"
  (
    cd "$work/inst"
    "$program" init db --results . --config ripsips.ini
    "$program" sedes import "$root/samples/sedes.csv" --config ripsips.ini
    "$program" validate "$root/samples/entrega" --today 2026-12-06 --config ripsips.ini || true
  ) | grep -v -E '^(Hora (inicial|final)|Tiempo)' || true
}
echo "== installed: $(command -v corvela)"
run_sample corvela >"$work/installed.txt"
run_sample "$root/build/corvela" >"$work/built.txt"
cat "$work/installed.txt"
if ! diff -u "$work/built.txt" "$work/installed.txt"; then
  echo "The installed program's summary differs from the build's." >&2
  exit 1
fi
QT_QPA_PLATFORM=offscreen corvela-gui --version
corvela-web --version
# The web service: its manual page, its unit installed but not enabled, and its system user.
test -f /usr/share/man/man1/corvela-web.1.gz
test -f /usr/lib/systemd/system/corvela-web.service
if ls /etc/systemd/system/*.wants/corvela-web.service >/dev/null 2>&1; then
  echo "corvela-web.service is enabled after installation; it must stay disabled." >&2
  exit 1
fi
getent passwd corvela >/dev/null

# No path of this tree may be left in the installed programs.
for program in /usr/bin/corvela /usr/bin/corvela-gui /usr/bin/corvela-web; do
  if strings "$program" | grep -F "$root"; then
    echo "$program holds a path of the source or build tree." >&2
    exit 1
  fi
done

"${as_root[@]}" apt-get remove -y corvela >/dev/null
if [ -e /usr/bin/corvela ]; then
  echo "/usr/bin/corvela is still there after the package was removed." >&2
  exit 1
fi
echo "Paquete verificado: instalado, probado y retirado."
