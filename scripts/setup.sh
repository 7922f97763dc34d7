#!/usr/bin/env bash
# Installs every Debian package listed in packages.txt (or in the list given) that is not installed yet.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done < "${1:-$here/packages.txt}"
if ((${#missing[@]})); then
  # As root apt-get runs directly; otherwise through sudo, which is handed DEBIAN_FRONTEND on its
  # command line because it does not pass the caller's environment on.
  as_root=(env DEBIAN_FRONTEND=noninteractive)
  if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
      echo "Missing packages: ${missing[*]}" >&2
      echo "sudo is not installed; as root, run:" >&2
      echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
      exit 1
    fi
    as_root=(sudo DEBIAN_FRONTEND=noninteractive)
  fi
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
