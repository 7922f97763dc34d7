#!/usr/bin/env bash
# Per sound server (SDL's disk driver as the reference, a private PulseAudio, a private PipeWire
# with the program's choice of backend and with each of SDL's forced): starts Quaverline afresh on its own
# X server, clicks key F a number of times through XTest and prints every note's length error
# and the time from the click's release to its first sample in the server's stream, the first
# note after start apart from the rest.
# Then, per server: the same under load (four busy processes on the two cores, 50 notes); the
# program silent until its stream sleeps, with the server's and the program's processor share set
# against the server's own without the program, and the first note after the sleep; and the
# longest time the window leaves a window manager's ping unanswered while the server restarts and
# the first note after it is clicked.
#   click_to_sound.sh <quaverline> <click_to_sound> <tone_check> <wm_ping> [<notes>]
set -euo pipefail

prog=$1
clicker=$2
tone_check=$3
wm_ping=$4
notes=${5:-10}
readonly period=126 note_ms=300  # key F
readonly load_notes=50 busy_processes=4 asleep_after_s=16 share_s=5

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tests/e2e/lib.sh"
. "$here/../tests/e2e/private_servers.sh"
unset SDL_AUDIODRIVER
runs=0

# The CPU time of all threads of the given processes so far, in ns.
cpu_ns() {
  local pid
  for pid in "$@"; do cat /proc/"$pid"/task/*/schedstat 2>/dev/null; done | awk '{ ns += $1 } END { printf "%d\n", ns }'
}

# share <seconds> <pid>...: their processor share over that time, in % of one core.
share() {
  local seconds=$1 before after
  shift
  before=$(cpu_ns "$@")
  sleep "$seconds"
  after=$(cpu_ns "$@")
  awk -v ns=$((after - before)) -v s="$seconds" 'BEGIN { printf "%.2f", ns / s / 1e7 }'
}

busy=()
start_busy() {
  for ((b = 0; b < busy_processes; b++)); do
    sh -c 'while :; do :; done' &
    busy+=($!)
    started $!
  done
}
stop_busy() {
  local pid
  for pid in "${busy[@]}"; do stop_process "$pid" KILL; done
  busy=()
}

# idle_figures <pid>: the program's share of one core over 3 s with its device open and silent,
# and its peak resident memory.
idle_figures() {
  local before after
  before=$(cpu_ns "$1")
  sleep 3
  after=$(cpu_ns "$1")
  awk -v ns=$((after - before)) -v kib="$(awk '/^VmHWM/ { print $2 }' /proc/"$1"/status)" 'BEGIN {
    printf "  silent with the device open: %.2f %% of a core; peak memory %.1f MiB\n", ns / 3e7, kib / 1024 }'
}

# measure <label> <SDL_AUDIODRIVER or empty> [<notes> [busy]]: clicks in a fresh program and prints
# the figures; with "busy", four processes spin meanwhile.
measure() {
  local label=$1 driver=$2 count=${3:-$notes} load=${4:-} dir=$work/run$((++runs)) parec_pid="" backend periods=()
  local flowing="" ready
  local clicker_pid from_clicker to_clicker
  mkdir "$dir"
  mkfifo "$dir/stream"
  local program=(env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$dir/stream")
  [[ $driver == disk ]] || flowing=flowing
  # The clicker reads the stream from before the program starts, as the end-to-end test does: an
  # idle PulseAudio null sink sleeps up to 2 s, and the first stream to come waits for it.
  coproc clicker_io { "$clicker" "$dir/stream" "$dir/capture.raw" "$count" $flowing 2>"$dir/clicker.log"; }
  # Bash forgets a coprocess's pid and pipes once it ends: kept in variables of their own.
  clicker_pid=$clicker_io_PID
  started "$clicker_pid"
  exec {from_clicker}<&"${clicker_io[0]}" {to_clicker}>&"${clicker_io[1]}"
  if [[ -n $flowing ]]; then
    "${recorder[@]}" --latency-msec="$(recorder_latency_ms)" >"$dir/stream" 2>"$dir/parec.log" &
    parec_pid=$!
    started "$parec_pid"
    program=("${client_env[@]}")
    [[ -z $driver ]] || program+=(SDL_AUDIODRIVER="$driver")
  fi
  read -r -t 15 ready <&"$from_clicker" && [[ $ready == ready ]] ||
    { cat "$dir/clicker.log" >&2; fail "the clicker did not start"; }
  start_program "$dir/program.log" "${program[@]}" QT_LOGGING_RULES=quaverline.sound=true "$prog" >/dev/null
  [[ -z $load ]] || start_busy
  echo "$((left + key_f_x)) $((top + white_key_y))" >&"$to_clicker"
  cat <&"$from_clicker" >"$dir/latency"
  exec {from_clicker}<&- {to_clicker}>&-
  [[ -z $load ]] || stop_busy
  backend=$(opened_backends "$dir/program.log" | paste -sd, -)
  # The disk driver stalls once the clicker has stopped reading its FIFO.
  [[ -z $flowing ]] || idle_figures "$prog_pid" >"$dir/idle"
  stop_process "$prog_pid"
  [[ -z $parec_pid ]] || stop_process "$parec_pid"
  stop_process "$clicker_pid"
  # More periods than notes, so that tone_check lists a note that came apart in pieces whole.
  for ((n = 0; n < 3 * count; n++)); do periods+=("$period"); done
  "$tone_check" --length-ms "$note_ms" --tolerance-ms 1 "$dir/capture.raw" "${periods[@]}" >"$dir/tones" || true
  echo
  echo "== $label (played through: $backend)"
  summarise "$dir/latency" "$dir/tones"
  [[ -z $flowing ]] || cat "$dir/idle"
}

# Joins the clicker's notes (number, latency, first frame) with tone_check's tones on the first
# frame; the length error is the tone's frames against 300 ms.
summarise() {
  awk -v expected=$((44100 * note_ms / 1000)) '
    function median(list, n,   v, i, j, t) {
      split(list, v, " ")
      for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
      return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    FNR == NR { if (NF == 3) start[$1] = $3; latency[$1] = $2; count = $1; next }
    /^tone / { split($4, span, "[.][.]"); frames[span[1] + 0] = $5; tones++ }
    END {
      printf "  %-5s %17s %28s\n", "note", "length error ms", "release to first sample ms"
      for (i = 1; i <= count; i++) {
        if (latency[i] == "none") { printf "  %-5d %17s %28s\n", i, "no sound", "-"; silent++; continue }
        ended = (i in start) && (start[i] in frames)
        error = ended ? (frames[start[i]] - expected) / 44.1 : 0
        printf "  %-5d %17s %28.2f%s\n", i, ended ? sprintf("%+.2f", error) : "not ended", latency[i],
               i == 1 ? "   (first after start)" : ""
        if (ended && (error > 1 || error < -1)) outside++
        if (i == 1) continue
        later = later " " latency[i]
        if (++heard == 1 || latency[i] + 0 > worst) worst = latency[i] + 0
        if (ended && (++lengths == 1 || error < low)) low = error
        if (ended && (lengths == 1 || error > high)) high = error
      }
      if (heard) printf "  notes 2-%d: length error %+.2f..%+.2f ms; release to first sample median %.2f ms, max %.2f ms\n",
                        count, low, high, median(later, heard), worst
      printf "  %d of %d notes more than 1 ms off their length, %d silent", outside, count, silent
      printf tones + 0 == count - silent ? "\n" : "; the recording holds %d tones (gaps of 20 ms or more)\n", tones
    }' "$1" "$2"
}

# asleep_then_restart <label> <signal>: a fresh program left silent until its stream sleeps; the
# processor shares; the first note after the sleep; then the server restarted, the window pinged
# every 20 ms meanwhile and while the first note after it is clicked.
asleep_then_restart() {
  local label=$1 dir=$work/run$((++runs)) alone with ready clicker_pid from_clicker to_clicker parec_pid state
  mkdir "$dir"
  alone=$(share "$share_s" "${server_pids[@]}")
  start_program "$dir/program.log" "${client_env[@]}" QT_LOGGING_RULES=quaverline.sound=true "$prog" >/dev/null
  sleep "$asleep_after_s"
  with=$(share "$share_s" "${server_pids[@]}")
  local program_share
  program_share=$(share "$share_s" "$prog_pid")
  state=$("${client_env[@]}" pactl list short sinks | awk -v sink="$null_sink" '$2 == sink { print $NF }')
  # The first note after the sleep, recorded and timed as above.
  mkfifo "$dir/stream"
  coproc clicker_io { "$clicker" "$dir/stream" "$dir/capture.raw" 1 flowing 2>"$dir/clicker.log"; }
  clicker_pid=$clicker_io_PID
  started "$clicker_pid"
  exec {from_clicker}<&"${clicker_io[0]}" {to_clicker}>&"${clicker_io[1]}"
  "${recorder[@]}" --latency-msec="$(recorder_latency_ms)" >"$dir/stream" 2>"$dir/parec.log" &
  parec_pid=$!
  started "$parec_pid"
  read -r -t 15 ready <&"$from_clicker" && [[ $ready == ready ]] || fail "the clicker did not start"
  echo "$((left + key_f_x)) $((top + white_key_y))" >&"$to_clicker"
  cat <&"$from_clicker" >"$dir/latency"
  exec {from_clicker}<&- {to_clicker}>&-
  stop_process "$parec_pid"
  stop_process "$clicker_pid"
  "$tone_check" --length-ms "$note_ms" --tolerance-ms 1 "$dir/capture.raw" "$period" "$period" >"$dir/tones" || true
  # The restart.
  stop_server "$2"
  start_server
  "$wm_ping" "$window" 50 20 100000 >"$dir/pings" &
  local ping_pid=$!
  started "$ping_pid"
  click_at $((left + key_f_x)) $((top + white_key_y))
  wait "$ping_pid" || true
  forget_process "$ping_pid"
  stop_process "$prog_pid"
  echo
  echo "== $label: silent until the stream sleeps, then a note; then a restart"
  echo "  server's processor share without the program: $alone %; with it silent ${asleep_after_s} s: $with %;" \
    "the program's own: $program_share %; the sink: $state"
  summarise "$dir/latency" "$dir/tones" | sed -n '2p' | awk '{ printf "  first note after the sleep: length error %s ms, release to first sample %s ms\n", $2, $3 }'
  echo "  window's ping across the restart and the first click after it: $(tail -n1 "$dir/pings")"
}

start_xvfb >/dev/null
echo "Key F clicked $notes times per run in a freshly started program, ${note_ms} ms each (13230 frames)."
echo "Release to first sample: from just before the X server gets the release (XTest) to the"
echo "first sounding frame, placed in time from when parec's block holding it arrived, less the"
echo "frames after it in that block; it includes the recording's own delivery (parec's blocks"
echo "and this process's wake-up), so it is an upper bound of what a speaker plays."
echo "Lengths are counted in the recorded frames; the first note after start is shown apart."
echo "Goals: every note within 1 ms of its length, the first included; release to first sample"
echo "at most 15 ms median on both servers."

server_kind=disk
measure "SDL disk driver, the reference (into a FIFO; its frames placed up to 10 ms early)" disk

prepare_server pulseaudio "$work/pulseaudio"
start_server
label="PulseAudio $(pulseaudio --version | cut -d' ' -f2), 44.1 kHz null sink"
measure "$label" ""
measure "$label, under load ($busy_processes busy processes)" "" "$load_notes" busy
asleep_then_restart "$label" KILL
stop_server

prepare_server pipewire "$work/pipewire"
start_server
version=$(pipewire --version | awk '/Linked with/ { print $NF }')
label="PipeWire $version with pipewire-pulse and WirePlumber"
measure "$label, SDL_AUDIODRIVER unset" ""
measure "$label, under load ($busy_processes busy processes)" "" "$load_notes" busy
asleep_then_restart "$label" TERM
[[ -n ${QUAVERLINE_BENCH_SDL:-} ]] || { stop_server; exit 0; }
measure "PipeWire $version, SDL_AUDIODRIVER=pipewire" pipewire
measure "PipeWire $version, SDL_AUDIODRIVER=pulseaudio" pulseaudio
stop_server
