#!/bin/sh
# Builds the Debian package from a configured build and checks it: the file
# list, the declared dependencies, and that the unpacked tree runs.
#   scripts/check-package.sh [BUILD_DIR]
# With PELTRIX_INSTALL_DEB=1 (CI, as root) the package is also installed with
# apt and the installed programs are run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build"
(cd "$build" && rm -f peltrix_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/peltrix_*_*.deb)
echo "package: $deb"

list=$(mktemp)
trap 'rm -f "$list"; rm -rf "${tree:-}"' EXIT
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | sort >"$list"

fail=0
need() {
  if ! grep -qx "$1" "$list"; then echo "missing from the package: $1"; fail=1; fi
}
need /usr/bin/peltrix
need /usr/bin/peltrix-cli
need /usr/share/applications/peltrix.desktop
for size in 48 128 256; do need /usr/share/icons/hicolor/${size}x${size}/apps/peltrix.png; done
need /usr/share/peltrix/Docs/index.html
for n in 1 2 3 4 5 6 7 8; do need /usr/share/peltrix/Tutorial/tutorial$n.txt; done
need /usr/share/peltrix/Tutorial/target1.gif
need /usr/share/peltrix/Tutorial/target2.jpg
need /usr/share/peltrix/Tutorial/target3.bmp
# Every installation file of the source tree is in the package.
(cd "$root/data" && find . -type f | sed 's|^\.|/usr/share/peltrix|') | while read -r f; do
  grep -qx "$f" "$list" || { echo "missing from the package: $f"; exit 1; }
done || fail=1
# Nothing else: no tests, benchmarks, libraries or headers.
unexpected=$(grep -v -e '^/usr/bin/peltrix$' -e '^/usr/bin/peltrix-cli$' -e '^/usr/share/peltrix' \
  -e '^/usr/share/applications' -e '^/usr/share/icons' -e '^/usr/share/doc' \
  -e '^/usr$' -e '^/usr/bin$' -e '^/usr/share$' "$list" || true)
if [ -n "$unexpected" ]; then echo "unexpected in the package:"; echo "$unexpected"; fail=1; fi

depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6sql6 libqt6sql6-sqlite \
  libqt6concurrent6 qt6-qpa-plugins libopencv-core406 libopencv-imgproc406 libopencv-dnn406; do
  echo "$depends" | grep -q "$dep" || { echo "not declared as a dependency: $dep"; fail=1; }
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/packaging/peltrix.desktop" || fail=1
fi

# The unpacked tree: the command line answers, the program finds its
# installation files in share/peltrix and keeps running.
tree=$(mktemp -d)
dpkg-deb -x "$deb" "$tree"
version=$("$tree/usr/bin/peltrix-cli" --version 2>/dev/null)
[ "$version" = "2.0.13" ] || { echo "peltrix-cli --version gave '$version'"; fail=1; }
# The hole model is found among the installation files and runs.
"$tree/usr/bin/peltrix-cli" detect "$root/tests/data/photos/images/21_2036-14-04-2023_API_v1.jpg" \
  --bullet 1 --scale 23 --json >/dev/null || { echo "peltrix-cli detect failed in the package"; fail=1; }
set +e
QT_QPA_PLATFORM=offscreen timeout 5 "$tree/usr/bin/peltrix" >/dev/null 2>&1
rc=$?
set -e
[ $rc -eq 124 ] || { echo "peltrix ended by itself with status $rc"; fail=1; }

if [ "${PELTRIX_INSTALL_DEB:-0}" = 1 ]; then
  apt-get install -y "$deb"
  [ "$(peltrix-cli --version 2>/dev/null)" = "2.0.13" ] || { echo "installed peltrix-cli does not run"; fail=1; }
  set +e
  QT_QPA_PLATFORM=offscreen timeout 5 peltrix >/dev/null 2>&1
  rc=$?
  set -e
  [ $rc -eq 124 ] || { echo "installed peltrix ended with status $rc"; fail=1; }
else
  apt-get install -s "$deb" >/dev/null 2>&1 || { echo "apt cannot resolve the package's dependencies"; fail=1; }
fi

[ $fail -eq 0 ] && echo "package ok"
exit $fail
