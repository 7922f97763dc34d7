#!/usr/bin/env bash
# Runs the audio thread test's server case against the program's own streams: once on a private
# PulseAudio, once on a private PipeWire (with pipewire-pulse and WirePlumber). Built with
# ThreadSanitizer, any report from the render path fails it.
#   server_threads.sh <test_audio_threads>
set -euo pipefail
test_binary=$1
here=$(dirname "$0")
. "$here/lib.sh"
. "$here/private_servers.sh"

for kind in pulseaudio pipewire; do
  expected=$([[ $kind == pipewire ]] && echo PipeWire || echo PulseAudio)
  echo "== $kind"
  prepare_server "$kind" "$work/$kind"
  start_server
  "${client_env[@]}" QUAVERLINE_TEST_SERVER="$expected" QT_QPA_PLATFORM=offscreen "$test_binary" handOffOnAServer ||
    fail "the stream's hand-off on $kind"
  stop_server
done
echo "PASS"
