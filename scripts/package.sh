#!/usr/bin/env bash
# Builds the Debian package: a release build with Debian's hardening flags in build/package,
# then cpack, lintian and the package's file list.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
build="$here/build/package"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUAVERLINE_TESTS=OFF -DQUAVERLINE_SANITIZE=OFF -DQUAVERLINE_TSAN=OFF
cmake --build "$build"
rm -f "$build"/quaverline_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/quaverline_*.deb)
echo "== lintian $deb"
lintian --info --display-info "$deb"
echo "== files"
dpkg-deb --info "$deb"
dpkg -c "$deb"
