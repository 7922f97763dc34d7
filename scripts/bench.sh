#!/usr/bin/env bash
# Builds a release with the benchmarks (no sanitizers) in build/bench and prints:
#   1. start-up time to the first shown frame and peak memory, beside bare Qt windows;
#   2. processor share while a note is held;
#   3. tone lengths in the stream the sound card receives;
#   4. key F clicked in the program on a private PulseAudio and PipeWire: every tone's length and
#      the time from the click's release to its first sample.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
build="$here/build/bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUAVERLINE_TESTS=ON \
  -DQUAVERLINE_SANITIZE=OFF -DQUAVERLINE_TSAN=OFF >/dev/null
cmake --build "$build" --target quaverline bare_window bare_window_text bare_window_text_sound startup_probe \
  startup_phases bench_note_cpu bench_tone_length click_to_sound tone_check wm_ping

# QUAVERLINE_BENCH_BEFORE=<commit> also measures that commit's program on the sound servers, in the
# same run, built the same way in build/bench-before.
before=""
if [[ -n ${QUAVERLINE_BENCH_BEFORE:-} ]]; then
  before_src="$here/build/bench-before-src"
  commit=$(git -C "$here" rev-parse "$QUAVERLINE_BENCH_BEFORE")
  if [[ $(cat "$before_src/.commit" 2>/dev/null) != "$commit" ]]; then
    rm -rf "$before_src"
    git -C "$here" archive --format=tar --prefix=src/ "$commit" | tar -x -C "$here/build" --transform "s|^src|bench-before-src|"
    echo "$commit" >"$before_src/.commit"
  fi
  cmake -S "$before_src" -B "$here/build/bench-before" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUAVERLINE_TESTS=OFF \
    -DQUAVERLINE_SANITIZE=OFF -DQUAVERLINE_TSAN=OFF >/dev/null
  cmake --build "$here/build/bench-before" --target quaverline
  before="$here/build/bench-before/quaverline"
fi

runs="${QUAVERLINE_BENCH_RUNS:-10}"
work="$(mktemp -d)"
xvfb=""
cleanup() {
  [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
export SDL_AUDIODRIVER=dummy

echo
echo "== Machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')," \
  "$(awk '/MemTotal/ {printf "%.1f GiB RAM", $2 / 1048576}' /proc/meminfo)," \
  "$(. /etc/os-release && echo "$PRETTY_NAME"), $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "load before: $(uptime | sed 's/.*load average/load average/')"

echo
echo "== Start-up to the first shown frame and peak memory ($runs runs each, Xvfb, xcb, SDL dummy driver)"
# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { cat "$work/xvfb.log"; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")" QT_QPA_PLATFORM=xcb
"$build/bench/startup_probe" "$runs" "$build/quaverline" "$build/bench/bare_window_text_sound" \
  "$build/bench/bare_window_text" "$build/bench/bare_window"
echo "bare_window: an empty main window of the same size; bare_window_text: with one line of text;"
echo "bare_window_text_sound: with that text and SDL2 loaded and its device opened before the window (Quaverline opens it after the first frame, off the window thread)"

echo
echo "== Where Quaverline's start-up goes, in its main() (median of 5 starts; library loading before main() not included)"
for _ in 1 2 3 4 5; do "$build/bench/startup_phases"; done >"$work/phases"
# Step names are single-spaced, columns at least two spaces apart.
awk -F'  +' '
  function median(list,   v, n, i, j, t) {
    n = split(list, v, " ")
    for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  NR == 1 { printf "%-34s %9s %11s %11s\n", $1, $2, $3, $4 }
  NR > 1 && $NF ~ /^[0-9.]+$/ {
    if (!($1 in rss)) order[++steps] = $1
    rss[$1] = rss[$1] " " $NF
    if (NF == 4) { ms[$1] = ms[$1] " " $2; grow[$1] = grow[$1] " " $3 }
  }
  END {
    for (i = 1; i <= steps; i++) {
      s = order[i]
      if (s in ms) printf "%-34s %9.1f %11.1f %11.1f\n", s, median(ms[s]), median(grow[s]), median(rss[s])
      else printf "%-34s %9s %11s %11.1f\n", s, "", "", median(rss[s])
    }
  }
' "$work/phases"
unset DISPLAY QT_QPA_PLATFORM

echo
echo "== Processor share while a note is held (offscreen)"
QT_QPA_PLATFORM=offscreen "$build/bench/bench_note_cpu"

echo
echo "== Tone lengths (SDL disk driver)"
QT_QPA_PLATFORM=offscreen "$build/bench/bench_tone_length"

echo
echo "== Key F clicked in the program on sound servers (Xvfb, XTest, parec)"
"$here/bench/click_to_sound.sh" "$build/quaverline" "$build/bench/click_to_sound" "$build/tests/tone_check" \
  "$build/tests/wm_ping"
if [[ -n $before ]]; then
  echo
  echo "== The same with the program at $QUAVERLINE_BENCH_BEFORE (before)"
  "$here/bench/click_to_sound.sh" "$before" "$build/bench/click_to_sound" "$build/tests/tone_check" "$build/tests/wm_ping"
fi

echo
echo "load after: $(uptime | sed 's/.*load average/load average/')"
