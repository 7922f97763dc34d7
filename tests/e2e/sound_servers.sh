#!/usr/bin/env bash
# Plays key F through the sound servers desktops run, each private to this test: a PulseAudio (with
# a PipeWire beside it that handles no sound), then a PipeWire with pipewire-pulse and WirePlumber.
# The program picks its backend as on a desktop: it must play through a stream of its own on each,
# a PulseAudio stream on the first, a PipeWire stream on the second. Clicks F a few times (the first
# note after start included), stops and restarts the server, clicks again, and checks every note
# in the recorded monitor: a loop of 126 frames, 300 ms long to 1 ms.
#   sound_servers.sh <quaverline> <tone_check> [<period> [<length ms>]]
# The last two default to key F's loop and length; passing others shows that the checks fail.
set -euo pipefail

prog=$1
tone_check=$2
period=${3:-126}  # 44100 Hz / 349.2282 Hz, rounded
length_ms=${4:-300}
readonly tolerance_ms=1 notes_before=3 notes_after=2 first_click_s=2

here=$(dirname "$0")
. "$here/lib.sh"
. "$here/private_servers.sh"
unset SDL_AUDIODRIVER

failures=0

# check_notes <what> <capture> <notes>
check_notes() {
  local periods=()
  for ((n = 0; n < $3; n++)); do periods+=("$period"); done
  echo "  $1:"
  "$tone_check" --length-ms "$length_ms" --tolerance-ms "$tolerance_ms" "$2" "${periods[@]}" |
    sed 's/^/    /' || failures=$((failures + 1))
}

# click_notes <capture> <count>: clicks F, each time after the last note has ended.
click_notes() {
  for ((n = 1; n <= $2; n++)); do
    play_key "$key_f_x" "$1" || echo "  no note ended after click $n"
  done
}

# check_backend <log> <pattern>: every device the program opened is the expected one.
check_backend() {
  local opened
  opened=$(opened_backends "$1")
  echo "  devices opened: $(paste -sd, <<<"$opened")"
  [[ -n $opened ]] && ! grep -qv "$2" <<<"$opened" || { echo "  FAIL: expected $2"; failures=$((failures + 1)); }
}

# session <kind> <signal that stops it> <try> <expected backend>
session() {
  local dir=$work/$1-$3
  echo "== $1 (try $3)"
  prepare_server "$1" "$dir"
  start_server
  start_capture "$dir/before.raw"
  start_program "$dir/program.log" "${client_env[@]}" QT_LOGGING_RULES=quaverline.sound=true "$prog"
  # A person looks at the window before the first click: the device has opened, idle, by then.
  sleep "$first_click_s"
  click_notes "$dir/before.raw" "$notes_before"
  stop_capture
  stop_server "$2"
  echo "  $1 stopped with SIG$2 and started again"
  start_server
  start_capture "$dir/after.raw"
  click_notes "$dir/after.raw" "$notes_after"
  stop_process "$prog_pid"
  stop_capture
  stop_server
  check_notes "before the restart" "$dir/before.raw" "$notes_before"
  check_notes "after the restart" "$dir/after.raw" "$notes_after"
  check_backend "$dir/program.log" "$4"
}

# twice_if_needed <kind> <signal> <expected backend>: a server's stream now and then drops a few
# frames when the machine is busy, a fault of the program shows again; so a server with a failed
# check is tried once more, afresh, and only a second failure counts.
twice_if_needed() {
  local before=$failures
  session "$1" "$2" 1 "$3"
  ((failures > before)) || return 0
  echo "  $1: a check failed; once more"
  failures=$before
  session "$1" "$2" 2 "$3"
}

start_xvfb
# A crashed PulseAudio, and PipeWire restarted as a session does.
pipewire_beside=1 twice_if_needed pulseaudio KILL "PulseAudio stream"
twice_if_needed pipewire TERM "PipeWire stream"

((failures == 0)) || fail "$failures of 6 checks failed"
echo "PASS"
