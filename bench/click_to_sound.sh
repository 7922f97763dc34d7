#!/usr/bin/env bash
# Per sound server (SDL's disk driver as the reference, a private PulseAudio, a private PipeWire
# with the program's choice of backend and with each of SDL's forced): starts Quaverline afresh on its own
# X server, clicks key F a number of times through XTest and prints every note's length error
# and the time from the click's release to its first sample in the server's stream, the first
# note after start apart from the rest.
#   click_to_sound.sh <quaverline> <click_to_sound> <tone_check> [<notes>]
set -euo pipefail

prog=$1
clicker=$2
tone_check=$3
notes=${4:-10}
readonly period=126 note_ms=300  # key F

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tests/e2e/lib.sh"
. "$here/../tests/e2e/private_servers.sh"
unset SDL_AUDIODRIVER
runs=0

# The CPU time of all of a process's threads so far, in ns.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { print ns }'; }

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

# measure <label> <SDL_AUDIODRIVER or empty>: clicks in a fresh program and prints the figures.
measure() {
  local label=$1 driver=$2 dir=$work/run$((++runs)) parec_pid="" backend periods=() flowing="" ready
  local clicker_pid from_clicker to_clicker
  mkdir "$dir"
  mkfifo "$dir/stream"
  local program=(env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$dir/stream")
  [[ $driver == disk ]] || flowing=flowing
  # The clicker reads the stream from before the program starts, as the end-to-end test does: an
  # idle PulseAudio null sink sleeps up to 2 s, and the first stream to come waits for it.
  coproc clicker_io { "$clicker" "$dir/stream" "$dir/capture.raw" "$notes" $flowing 2>"$dir/clicker.log"; }
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
  echo "$((left + key_f_x)) $((top + white_key_y))" >&"$to_clicker"
  cat <&"$from_clicker" >"$dir/latency"
  exec {from_clicker}<&- {to_clicker}>&-
  backend=$(opened_backends "$dir/program.log" | paste -sd, -)
  # The disk driver stalls once the clicker has stopped reading its FIFO.
  [[ -z $flowing ]] || idle_figures "$prog_pid" >"$dir/idle"
  stop_process "$prog_pid"
  [[ -z $parec_pid ]] || stop_process "$parec_pid"
  stop_process "$clicker_pid"
  # More periods than notes, so that tone_check lists a note that came apart in pieces whole.
  for ((n = 0; n < 3 * notes; n++)); do periods+=("$period"); done
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
measure "PulseAudio $(pulseaudio --version | cut -d' ' -f2), 44.1 kHz null sink" ""
stop_server

prepare_server pipewire "$work/pipewire"
start_server
version=$(pipewire --version | awk '/Linked with/ { print $NF }')
measure "PipeWire $version with pipewire-pulse and WirePlumber, SDL_AUDIODRIVER unset" ""
measure "PipeWire $version, SDL_AUDIODRIVER=pipewire" pipewire
measure "PipeWire $version, SDL_AUDIODRIVER=pulseaudio" pulseaudio
stop_server
