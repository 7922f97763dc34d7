#!/usr/bin/env bash
# Builds Quaverline for 64-bit Windows with MinGW-w64 and packs a portable zip and an NSIS installer.
# Qt and SDL2 are cross-built from Debian's sources once and kept outside the checkout,
# keyed by their Debian versions (QUAVERLINE_WINDOWS_CACHE, default /var/cache/quaverline-windows).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" "$here/packages-windows.txt"
source "$here/scripts/windows-env.sh"
source "$here/scripts/apt-sources.sh"
start=$SECONDS
step() { echo "== $* ($((SECONDS - start)) s)"; }

# logged <log> <command>...: appends the command's output to the log; on failure shows its end.
logged() {
  local log=$1
  shift
  "$@" >>"$log" 2>&1 || { tail -30 "$log" >&2; echo "FAILED: $* (log: $log)" >&2; exit 1; }
}

# The download runs as the caller: the cache may lie where apt's own user cannot write.
apt_private=(-o "Dir::Etc::sourcelist=$win_cache/apt/sources.list" -o Dir::Etc::sourceparts=-
  -o "Dir::State::Lists=$win_cache/apt/lists" -o "Dir::Cache=$win_cache/apt/cache"
  -o "APT::Sandbox::User=$(id -un)")

# Unpacks a Debian source package with a private deb-src list, leaving the machine's apt setup alone.
fetch_source() {
  local pkg=$1 version=$2 dir=$3
  [[ -d "$dir" ]] && return
  mkdir -p "$win_cache/apt/lists/partial" "$win_cache/apt/cache/archives/partial" "$win_cache/src"
  # From the archives this machine's apt uses (QUAVERLINE_MIRROR and QUAVERLINE_SECURITY_MIRROR
  # choose others).
  local main security keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  main=$(debian_mirror)
  security=$(debian_security_mirror)
  printf 'deb-src [signed-by=%s] %s\n' "$keyring" "$main bookworm main" "$keyring" "$main bookworm-updates main" \
    "$keyring" "$security bookworm-security main" >"$win_cache/apt/sources.list"
  apt-get -q "${apt_private[@]}" update
  (cd "$win_cache/src" && apt-get -q "${apt_private[@]}" source "$pkg=$version")
}

build_qt() {
  [[ -f "$win_qt/.done" ]] && { step "Qt $win_qt_version cached in $win_qt"; return; }
  step "cross-building Qt $win_qt_version (log: $win_cache/logs/qt.log)"
  local src="$win_cache/src/qt6-base-${win_qt_version%-*}" build="$win_cache/build/qt"
  fetch_source qt6-base "$win_qt_version" "$src"
  rm -rf "$build" "$win_qt"
  mkdir -p "$win_cache/logs"
  local log="$win_cache/logs/qt.log"
  rm -f "$log"
  # Tablet support needs Wacom's wintab.h, which Debian's source leaves out; without OpenGL,
  # dynamic OpenGL must be switched off by hand.
  logged "$log" cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$win_toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$win_qt" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF -DFEATURE_tabletevent=OFF \
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
  logged "$log" nice -n 10 cmake --build "$build" --parallel "$win_jobs"
  logged "$log" cmake --install "$build"
  mkdir -p "$win_qt/licences"
  cp "$src/debian/copyright" "$win_qt/licences/Qt-debian-copyright.txt"
  cp "$src/LICENSES/LGPL-3.0-only.txt" "$src/LICENSES/GPL-3.0-only.txt" "$win_qt/licences/"
  rm -rf "$build"
  touch "$win_qt/.done"
}

build_sdl() {
  [[ -f "$win_sdl/.done" ]] && { step "SDL2 $win_sdl_version cached in $win_sdl"; return; }
  step "cross-building SDL2 $win_sdl_version (log: $win_cache/logs/sdl.log)"
  local src="$win_cache/src/libsdl2-${win_sdl_version%-*}" build="$win_cache/build/sdl"
  fetch_source libsdl2 "$win_sdl_version" "$src"
  rm -rf "$build" "$win_sdl"
  mkdir -p "$win_cache/logs"
  local log="$win_cache/logs/sdl.log"
  rm -f "$log"
  logged "$log" cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$win_toolchain" \
    -DCMAKE_INSTALL_PREFIX="$win_sdl" -DCMAKE_BUILD_TYPE=Release -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
  logged "$log" nice -n 10 cmake --build "$build" --parallel "$win_jobs"
  logged "$log" cmake --install "$build"
  mkdir -p "$win_sdl/licences"
  cp "$src/LICENSE.txt" "$win_sdl/licences/SDL2-LICENSE.txt"
  cp "$src/debian/copyright" "$win_sdl/licences/SDL2-debian-copyright.txt"
  rm -rf "$build"
  touch "$win_sdl/.done"
}

# Copies into $2 every DLL that $1 imports, directly or through another copied DLL, that is not
# part of Windows.
copy_imported_dlls() {
  local file=$1 dest=$2 dll dir
  for dll in $(x86_64-w64-mingw32-objdump -p "$file" | awk '/DLL Name:/ {print $3}'); do
    [[ -e "$dest/$dll" ]] && continue
    for dir in "${win_dll_dirs[@]}"; do
      if [[ -f "$dir/$dll" ]]; then
        cp "$dir/$dll" "$dest/"
        copy_imported_dlls "$dest/$dll" "$dest"
        break
      fi
    done
  done
}

# The program folder, as the zip holds it and the installer installs it.
stage_program() {
  local stage=$1
  rm -rf "$stage"
  mkdir -p "$stage/platforms" "$stage/licences"
  cp "$win_build/quaverline.exe" "$stage/"
  cp "$win_qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
  # SDL2 is loaded when the first sound is asked for, so no import names it.
  cp "$win_sdl/bin/SDL2.dll" "$stage/"
  local file
  for file in "$stage"/*.exe "$stage"/*.dll "$stage"/platforms/*.dll; do copy_imported_dlls "$file" "$stage"; done
  cp "$here/LICENSE" "$stage/licences/Quaverline-LICENSE.txt"
  cp "$win_qt"/licences/* "$win_sdl"/licences/* "$stage/licences/"
  cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licences/MinGW-GCC-runtime-debian-copyright.txt"
  cp /usr/share/doc/mingw-w64-common/copyright "$stage/licences/MinGW-w64-winpthreads-debian-copyright.txt"
  x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/platforms/*.dll
}

# NSIS lines that remove exactly the staged files and folders, deepest first.
uninstall_list() {
  local stage=$1
  (cd "$stage" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|')
  echo '  Delete "$INSTDIR\uninstall.exe"'
  (cd "$stage" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|')
  echo '  RMDir "$INSTDIR"'
}

# seed_cache: fills the cache from a tarball that an earlier run of this script left (the
# folder QUAVERLINE_WINDOWS_SEED, by default ../shared/windows-cache beside the checkout), when it
# is for exactly these Debian versions and its checksum is right. Anything else is ignored, and
# Qt and SDL2 are built from source.
seed_cache() {
  [[ -f "$win_qt/.done" && -f "$win_sdl/.done" ]] && return
  local seed="${QUAVERLINE_WINDOWS_SEED:-$here/../shared/windows-cache}"
  local name="quaverline-windows_qt-${win_qt_version}_sdl2-${win_sdl_version}.tar.xz"
  [[ -f "$seed/$name" ]] || { step "no seed $seed/$name: building from source"; return; }
  local sum
  sum=$(awk -v n="$name" '$2 == n || $2 == "*" n {print $1}' "$seed/SHA256SUMS" 2>/dev/null)
  if [[ -z "$sum" ]] || ! echo "$sum  $seed/$name" | sha256sum --quiet -c - 2>/dev/null; then
    step "seed $seed/$name does not match its checksum: building from source"
    return
  fi
  step "seeding the cache from $seed/$name"
  local unpack="$win_cache/seed.$$"
  rm -rf "$unpack"
  mkdir -p "$unpack"
  tar -xJf "$seed/$name" -C "$unpack" --no-same-owner
  local part
  for part in "qt-$win_qt_version" "sdl2-$win_sdl_version"; do
    [[ -f "$unpack/$part/.done" ]] || { rm -rf "$unpack"; step "seed lacks $part: building from source"; return; }
  done
  for part in "qt-$win_qt_version" "sdl2-$win_sdl_version"; do
    [[ -f "$win_cache/$part/.done" ]] || { rm -rf "${win_cache:?}/$part"; mv "$unpack/$part" "$win_cache/"; }
  done
  rm -rf "$unpack"
}

seed_cache
build_qt
build_sdl
step "building quaverline.exe in $win_build"
win_configure
nice -n 10 cmake --build "$win_build" --target quaverline
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win_build/CMakeCache.txt")
name="quaverline-$version-win64"
out="$win_build/out"
step "packing $name"
stage_program "$out/$name"
rm -f "$out/$name.zip" "$out/$name-setup.exe"
(cd "$out" && zip -q -r -9 "$name.zip" "$name")
uninstall_list "$out/$name" > "$out/uninstall-files.nsh"
makensis -V2 -DVERSION="$version" -DSRCDIR="$out/$name" -DOUTFILE="$out/$name-setup.exe" \
  -DICON="$win_build/windows-icon/quaverline.ico" -DUNINSTALL_LIST="$out/uninstall-files.nsh" \
  "$here/packaging/windows/installer.nsi"
step "done"
echo "== $out/$name.zip"
unzip -l "$out/$name.zip"
ls -l "$out/$name.zip" "$out/$name-setup.exe"
