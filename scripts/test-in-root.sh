#!/usr/bin/env bash
# Runs the test command on a fresh minimal Debian root of the given release, as a new user's
# machine would: debootstrap's minbase root (made once and kept), a throw-away copy of it, a clone
# of this checkout's HEAD in it, and ./scripts/test.sh there as root.
#   test-in-root.sh RELEASE [COMMAND]   RELEASE e.g. bookworm or trixie; must be run as root.
#   COMMAND (a shell command run in the checkout) replaces ./scripts/test.sh, e.g.
#   'scripts/package.sh && apt-get install -y ./build/package/quaverline_*.deb'
# QUAVERLINE_ROOTS chooses where the roots are kept (default /var/cache/quaverline-roots),
# QUAVERLINE_MIRROR the Debian mirror (by default the one this machine's apt sources name),
# QUAVERLINE_KEEP_ROOT=1 keeps the used copy for a look.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
release=${1:?usage: $0 RELEASE [COMMAND] (e.g. bookworm, trixie)}
command=${2:-./scripts/test.sh}
[[ $release =~ ^[a-z]+$ ]] || { echo "not a release name: $release" >&2; exit 2; }
[[ $(id -u) -eq 0 ]] || { echo "$0 needs root: debootstrap, mounts and chroot" >&2; exit 2; }
cache=${QUAVERLINE_ROOTS:-/var/cache/quaverline-roots}
. "$here/scripts/apt-sources.sh"
mirror=$(debian_mirror)
start=$SECONDS

command -v debootstrap >/dev/null || "$here/scripts/setup.sh"
mkdir -p "$cache"
base=$cache/$release-base
if [[ ! -d $base ]]; then
  echo "== making a minimal $release root in $base"
  rm -rf "$base.tmp"
  debootstrap --variant=minbase "$release" "$base.tmp" "$mirror"
  mv "$base.tmp" "$base"
fi

run=$(mktemp -d "$cache/$release-run.XXXXXX")
root=$run/root
finish() {
  local status=$?
  if [[ ${QUAVERLINE_KEEP_ROOT:-0} == 1 ]]; then
    echo "the root stays in $root"
  else
    rm -rf "$run"
  fi
  exit "$status"
}
trap finish EXIT

cp -a "$base" "$root"
# Packages installed in the root start no services.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone -q --no-local "$here" "$root/root/quaverline"
echo "== $release root in $root, checkout at $(git -C "$root/root/quaverline" log -1 --format='%h %s')"
# Downloaded packages are kept between runs, one folder per release.
mkdir -p "$cache/$release-apt/partial"

# The mounts live in a mount namespace of their own and end with it, whatever way the run ends.
status=0
unshare --mount --propagation private bash -euo pipefail -c '
  root=$1 archives=$2 command=$3
  mount -t proc proc "$root/proc"
  mount --rbind /sys "$root/sys"
  mount --bind /dev "$root/dev"
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
  mount -t tmpfs tmpfs "$root/dev/shm"
  mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
  mount --bind "$archives" "$root/var/cache/apt/archives"
  exec chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM=dumb bash -c "cd /root/quaverline && $command"
' test-in-root "$root" "$cache/$release-apt" "$command" || status=$?

elapsed=$((SECONDS - start))
took="$((elapsed / 60)) min $((elapsed % 60)) s"
if ((status == 0)); then
  echo "== $release: $command passed in a fresh root, $took"
else
  echo "== $release: $command FAILED (exit $status) in a fresh root, $took"
fi
exit "$status"
