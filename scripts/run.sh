#!/usr/bin/env bash
# Sets up, builds (release) and starts Quaverline.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUAVERLINE_TESTS=OFF
cmake --build "$here/build/release"
exec "$here/build/release/quaverline" "$@"
