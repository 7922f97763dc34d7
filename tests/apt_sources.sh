#!/usr/bin/env bash
# The Debian archives that scripts/apt-sources.sh reads from apt configurations written here: one-line
# lists with options, deb822 files with comments, a disabled stanza and other vendors' suites, and
# the variables that override them.
set -euo pipefail
. "$(dirname "$0")/../scripts/apt-sources.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect <what> <expected> <command>...
expect() {
  local what=$1 expected=$2 got
  shift 2
  got=$("$@" 2>/dev/null) || got="(failed)"
  if [[ $got == "$expected" ]]; then
    echo "ok: $what: $got"
  else
    echo "FAIL: $what: $got, expected $expected"
    failures=$((failures + 1))
  fi
}

echo 'VERSION_CODENAME=bookworm' >"$work/os-release"
export OS_RELEASE=$work/os-release

export APT_SOURCES_DIR=$work/lines
mkdir -p "$APT_SOURCES_DIR/sources.list.d"
cat >"$APT_SOURCES_DIR/sources.list" <<'LIST'
# deb http://commented.invalid/debian bookworm main
deb [arch=amd64 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://proxy.invalid:3142/debian/ bookworm main
deb-src http://sources-only.invalid/debian bookworm-security main
LIST
echo 'deb http://proxy.invalid:3142/debian-security bookworm-security main' >"$APT_SOURCES_DIR/sources.list.d/security.list"
expect "one-line list with options" http://proxy.invalid:3142/debian debian_mirror
expect "one-line security list" http://proxy.invalid:3142/debian-security debian_security_mirror
QUAVERLINE_MIRROR=http://chosen.invalid/debian expect "QUAVERLINE_MIRROR" http://chosen.invalid/debian debian_mirror
QUAVERLINE_SECURITY_MIRROR=http://chosen.invalid/security expect "QUAVERLINE_SECURITY_MIRROR" \
  http://chosen.invalid/security debian_security_mirror

export APT_SOURCES_DIR=$work/deb822
mkdir -p "$APT_SOURCES_DIR/sources.list.d"
cat >"$APT_SOURCES_DIR/sources.list.d/debian.sources" <<'SOURCES'
Types: deb
URIs: http://disabled.invalid/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb
URIs: http://vendor.invalid/apt
Suites: cloud-sdk-bookworm
Components: main

Types: deb deb-src
# a mirror behind the proxy
URIs: http://mirror.invalid/debian http://second.invalid/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror.invalid/debian-security
Suites: bookworm-security
Components: main
SOURCES
expect "deb822, past a disabled stanza and another vendor's suite" http://mirror.invalid/debian debian_mirror
expect "deb822 security" http://mirror.invalid/debian-security debian_security_mirror

export APT_SOURCES_DIR=$work/none
mkdir -p "$APT_SOURCES_DIR"
expect "no apt source: a failure" "(failed)" debian_mirror

((failures == 0)) || { echo "FAIL: $failures checks"; exit 1; }
echo PASS
