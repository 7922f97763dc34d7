#!/usr/bin/env bash
# Sets up, builds every test with AddressSanitizer and UndefinedBehaviorSanitizer and runs them
# through CTest without a display or a sound card, then the audio thread test under ThreadSanitizer.
# Arguments go to CTest and leave the ThreadSanitizer stage out: "test.sh -L unit" is the inner loop.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
build="$here/build/asan"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUAVERLINE_SANITIZE=ON
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure "$@"
(($# == 0)) || exit 0

# The hand-off between callers and the audio thread once more under ThreadSanitizer: a second,
# small build of only the test that drives it from several threads, on SDL's dummy driver and on
# the program's own streams on private sound servers. Any report fails the run.
tsan="$here/build/tsan"
cmake -S "$here" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUAVERLINE_TSAN=ON
cmake --build "$tsan" --target test_audio_threads
ctest --test-dir "$tsan" -R '^(test_audio_threads|server_threads)$' --output-on-failure
