#!/usr/bin/env bash
# Installs a build into a scratch prefix, checks that every file lands in its standard place and
# runs the desktop-entry and AppStream validators on the installed copies. Any error or warning
# from a validator fails.
#   check_install.sh <build dir> <desktop id>
set -uo pipefail
build=$1
id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failed=0

cmake --install "$build" --prefix "$root/usr" >/dev/null || exit 1

for file in bin/quaverline \
  share/applications/$id.desktop \
  share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/32x32/apps/$id.png \
  share/icons/hicolor/scalable/apps/$id.svg \
  share/man/man1/quaverline.1.gz \
  share/doc/quaverline/copyright \
  share/doc/quaverline/changelog.gz; do
  if [[ ! -s $root/usr/$file ]]; then
    echo "missing: usr/$file"
    failed=1
  fi
done
[[ -x $root/usr/bin/quaverline ]] || { echo "usr/bin/quaverline is not executable"; failed=1; }
if ! file -b "$root/usr/share/icons/hicolor/32x32/apps/$id.png" | grep -q 'PNG image data, 32 x 32'; then
  echo "the 32x32 icon is not a 32 x 32 PNG"
  failed=1
fi

# Runs a validator, shows what it says, and fails on its status or on any line matching $1.
validate() {
  local pattern=$1
  shift
  local out status=0
  out=$("$@" 2>&1) || status=$?
  echo "\$ ${*##*/}"
  [[ -n $out ]] && printf '%s\n' "$out"
  if ((status != 0)) || grep -Eq "$pattern" <<<"$out"; then
    echo "^ failed"
    failed=1
  fi
}
validate '(error|warning|hint):' desktop-file-validate "$root/usr/share/applications/$id.desktop"
validate '^[EW]: ' appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml"
validate '^[EW]: ' appstreamcli validate-tree --no-net --pedantic "$root"
exit $failed
