#!/usr/bin/env bash
# Builds the Debian package, installs it and checks that the installed programs work as an
# operator would start them: through PATH, from an empty home outside this tree, following
# README's first steps on the installed samples; that the manual pages and documents are there.
# Then removes the package again. Needs root (or sudo) for apt-get; run after scripts/test.sh,
# whose build gives the summary the installed program must print.
#   bash scripts/package-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh build package
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
contents=$(dpkg -c "$deb")
echo "$contents"
dpkg -I "$deb" | grep -E '^ (Package|Version|Depends|Maintainer):'
for file in /usr/bin/corvela /usr/bin/corvela-gui /usr/share/man/man1/corvela.1.gz \
  /usr/share/man/man1/corvela-gui.1.gz /usr/share/doc/corvela/README.md \
  /usr/share/doc/corvela/docs/json.md /usr/share/corvela/samples/sedes.csv \
  /usr/share/corvela/samples/entrega/CT000001.txt /usr/share/corvela/web/index.html \
  /usr/share/corvela/web/comun.js; do
  if ! grep -q " \.$file\$" <<<"$contents"; then
    echo "The package lacks $file." >&2
    exit 1
  fi
done

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get install -y "./$deb" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# README's first steps by the installed program on the installed samples, and the same by the
# build tree's program on the tree's samples, each in a new home (where `init` writes the
# configuration file), so the two summaries can be compared line by line (the samples' folder
# named as SAMPLES).
run_sample() {
  local program=$1 samples=$2
  rm -rf "$work/home"
  mkdir -p "$work/home"
  (
    cd "$work/home"
    export HOME=$work/home
    unset RIPSIPS_INI XDG_CONFIG_HOME
    "$program" init ~/corvela/db --results ~/corvela
    "$program" sedes import "$samples/sedes.csv"
    "$program" validate "$samples/entrega" --today 2026-12-06 || true
  ) | grep -v -E '^(Hora (inicial|final)|Tiempo)' | sed "s|$samples|SAMPLES|g" || true
}
echo "== installed: $(command -v corvela)"
run_sample corvela /usr/share/corvela/samples >"$work/installed.txt"
run_sample "$root/build/corvela" "$root/samples" >"$work/built.txt"
cat "$work/installed.txt"
if ! diff -u "$work/built.txt" "$work/installed.txt"; then
  echo "The installed program's summary differs from the build's." >&2
  exit 1
fi
# The desktop program answers --version without a display; the web service answers it too.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM corvela-gui --version
corvela-web --version
for page in corvela corvela-gui corvela-web; do
  shown=$(man -P cat "$page" 2>/dev/null || true)
  if ! grep -q "^ *$page - " <<<"$shown"; then
    echo "man $page does not show the manual page." >&2
    exit 1
  fi
  grep -A1 '^NAME' <<<"$shown"
done
# The installed web service finds its pages beside it and serves them.
web_out=$work/web.out
corvela-web --config "$work/home/.config/corvela/ripsips.ini" --listen 127.0.0.1:0 >"$web_out" 2>&1 &
web_pid=$!
port=
for _ in $(seq 100); do
  port=$(grep -o 'escucha en http://127.0.0.1:[0-9]*' "$web_out" | grep -o '[0-9]*$' || true)
  [ -n "$port" ] && break
  sleep 0.1
done
page=
if [ -n "$port" ]; then
  exec 3<>"/dev/tcp/127.0.0.1/$port"
  printf 'GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3
  page=$(cat <&3)
  exec 3<&-
fi
kill "$web_pid"
wait "$web_pid" || true
if ! grep -q 'Leer Archivos' <<<"$page"; then
  echo "The installed corvela-web does not serve its pages." >&2
  cat "$web_out" >&2
  exit 1
fi
echo "corvela-web sirve sus páginas instaladas."
# The web service's unit is installed but not enabled, and its system user exists.
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
