# Shared settings of the Windows build scripts (sourced after the packages are installed).
if [[ -n "${QUAVERLINE_WINDOWS_CACHE:-}" ]]; then
  win_cache="$QUAVERLINE_WINDOWS_CACHE"
elif [[ $(id -u) -eq 0 ]]; then
  win_cache=/var/cache/quaverline-windows
else
  win_cache="${XDG_CACHE_HOME:-$HOME/.cache}/quaverline-windows"
fi
win_jobs="${QUAVERLINE_WINDOWS_JOBS:-2}"
win_toolchain="$here/packaging/windows/mingw-w64.cmake"
win_build="$here/build/windows"
# Qt is built from the source of the host tools installed here, so moc, rcc and uic match it.
win_qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)"
win_sdl_version="$(apt-cache policy libsdl2-2.0-0 | awk '/Candidate:/ {print $2}')"
win_qt="$win_cache/qt-$win_qt_version"
win_sdl="$win_cache/sdl2-$win_sdl_version"

# Configures the cross build of the program and its tests against the cached Qt and SDL2.
win_configure() {
  cmake -S "$here" -B "$win_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$win_toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$win_qt;$win_sdl" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "$@" >/dev/null
}

# Where the DLLs a Windows program imports are found, the system's own left aside.
win_dll_dirs=("$win_qt/bin" "$win_sdl/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)

# A Windows path for a path on this machine, as Wine's drive Z: shows it.
win_path() { local p="Z:$1"; echo "${p//\//\\}"; }

# wine_env <prefix>: the settings every Wine command of the tests runs with, in an array: a prefix
# of its own, no debug chatter, and no offer to install Mono or Gecko, which nothing here needs.
wine_env() {
  wine_env=(WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=")
}
