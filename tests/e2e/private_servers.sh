# Sourced after lib.sh: a sound server private to one run, PulseAudio or PipeWire (with
# pipewire-pulse and WirePlumber on a private D-Bus session bus), whose default sink is a null sink
# at 44.1 kHz, 16 bits, stereo, so nothing is resampled and its monitor holds the program's frames
# as they were rendered. Everything lives in one directory: no autospawn, no user units, no sound
# card, and nothing of the machine's own sound setup is used.
#   prepare_server <pulseaudio|pipewire> <dir>   writes the configuration, sets client_env
#   start_server / stop_server [<signal>]        (re)starts it with the same configuration
#   start_capture <file> / stop_capture          records the sink's monitor with parec
# With pipewire_beside=1 a PulseAudio server has a bare PipeWire beside it, which links no sound
# stream anywhere, as on desktops that run PipeWire only for screen sharing.
# With run_as (a command prefix, e.g. setpriv to another user) the servers, their session bus, the
# recorder and every client run through it; run_as_user owns the server's directory then. With
# system_bus (a D-Bus address) every client and server takes it for the system bus.

readonly null_sink=quaverline_null

# prepare_server <kind> <dir>: client_env runs a command as a client of this server only, e.g.
# "${client_env[@]}" pactl info; recorder writes the null sink's monitor to stdout as raw frames
# (add --latency-msec="$(recorder_latency_ms)").
prepare_server() {
  server_kind=$1
  server_dir=$2
  server_pids=()
  # run/pulse made here: pactl, asking whether the server is up, makes it too, and pipewire-pulse
  # gives up when the directory appears between its own check and its mkdir.
  mkdir -p -m 700 "$server_dir" "$server_dir/run" "$server_dir/run/pulse" "$server_dir/home" "$server_dir/config/pulse"
  echo "autospawn = no" >"$server_dir/config/pulse/client.conf"
  client_env=(${run_as[@]+"${run_as[@]}"} env -u PULSE_SERVER -u PULSE_RUNTIME_PATH -u PIPEWIRE_REMOTE
    -u PIPEWIRE_RUNTIME_DIR -u DBUS_SESSION_BUS_ADDRESS HOME="$server_dir/home" XDG_RUNTIME_DIR="$server_dir/run"
    XDG_CONFIG_HOME="$server_dir/config" XDG_STATE_HOME="$server_dir/home/state"
    PULSE_CLIENTCONFIG="$server_dir/config/pulse/client.conf")
  [[ -z ${system_bus:-} ]] || client_env+=(DBUS_SYSTEM_BUS_ADDRESS="$system_bus")
  case $server_kind in
    pulseaudio) write_pulseaudio_config ;;
    pipewire) write_pipewire_config ;;
    *) fail "unknown sound server $server_kind" ;;
  esac
  [[ -z ${run_as_user:-} ]] || chown -R "$run_as_user:" "$server_dir"
  [[ $server_kind != pipewire ]] || start_session_bus
  recorder=("${client_env[@]}" parec --raw --format=s16le --rate=44100 --channels=2 --device="$null_sink.monitor")
}

write_pulseaudio_config() {
  cat >"$server_dir/default.pa" <<EOF
load-module module-native-protocol-unix
load-module module-null-sink sink_name=$null_sink rate=44100 format=s16le channels=2
set-default-sink $null_sink
load-module module-suspend-on-idle
EOF
}

# The graph clock runs at 44.1 kHz only; WirePlumber looks for no devices, so the null sink is
# the only sink and becomes the default one, sound cards or not.
write_pipewire_config() {
  mkdir -p "$server_dir/config/pipewire/pipewire.conf.d" "$server_dir/config/wireplumber/main.lua.d" \
    "$server_dir/config/wireplumber/wireplumber.conf.d"
  cat >"$server_dir/config/pipewire/pipewire.conf.d/null-sink.conf" <<EOF
context.properties = {
    default.clock.rate = 44100
    default.clock.allowed-rates = [ 44100 ]
}
context.objects = [
    { factory = adapter
      args = {
          factory.name = support.null-audio-sink
          node.name = $null_sink
          media.class = Audio/Sink
          audio.format = S16LE
          audio.rate = 44100
          audio.channels = 2
          audio.position = [ FL FR ]
          object.linger = true
      }
    }
]
EOF
  # WirePlumber 0.4 (Debian 12) reads Lua, 0.5 (Debian 13) only its profiles; each ignores the
  # other's file.
  cat >"$server_dir/config/wireplumber/main.lua.d/60-no-devices.lua" <<EOF
alsa_monitor.enabled = false
v4l2_monitor.enabled = false
libcamera_monitor.enabled = false
EOF
  cat >"$server_dir/config/wireplumber/wireplumber.conf.d/60-no-devices.conf" <<EOF
wireplumber.profiles = {
  main = {
    monitor.alsa = disabled
    monitor.alsa-midi = disabled
    monitor.bluez = disabled
    monitor.v4l2 = disabled
    monitor.libcamera = disabled
  }
}
EOF
}

# The bus outlives server restarts, as a desktop session's does.
start_session_bus() {
  ${run_as[@]+"${run_as[@]}"} dbus-daemon --session --nofork --nopidfile --address="unix:path=$server_dir/bus" \
    >>"$server_dir/dbus.log" 2>&1 &
  started $!
  wait_for 10 test -S "$server_dir/bus" || { cat "$server_dir/dbus.log" >&2; fail "dbus-daemon did not start"; }
  client_env+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$server_dir/bus")
}

# Without a display the daemons do not try to reach a session bus through X11 autolaunch.
server_daemon() {
  env -u DISPLAY "${client_env[@]}" "$@" >>"$server_dir/server.log" 2>&1 &
  started $!
  server_pids+=($!)
}

default_sink_is_null() { [[ $("${client_env[@]}" pactl get-default-sink 2>/dev/null) == "$null_sink" ]]; }

start_server() {
  if [[ $server_kind == pulseaudio ]]; then
    # As root PulseAudio only warns that it is meant for a user session.
    server_daemon pulseaudio -n -F "$server_dir/default.pa" --daemonize=no --exit-idle-time=-1 \
      --use-pid-file=no --log-target=stderr
    if [[ ${pipewire_beside:-0} == 1 ]]; then
      server_daemon pipewire
      wait_for 10 test -S "$server_dir/run/pipewire-0" || { cat "$server_dir/server.log" >&2; fail "pipewire did not start"; }
    fi
  else
    server_daemon pipewire
    wait_for 10 test -S "$server_dir/run/pipewire-0" || { cat "$server_dir/server.log" >&2; fail "pipewire did not start"; }
    server_daemon wireplumber
    server_daemon pipewire-pulse
  fi
  wait_for 15 default_sink_is_null || { cat "$server_dir/server.log" >&2; fail "$server_kind did not start"; }
}

# sink_suspended: the null sink sleeps (PulseAudio's suspend-on-idle, WirePlumber's node suspend).
sink_suspended() {
  "${client_env[@]}" pactl list short sinks 2>/dev/null | awk -v sink="$null_sink" '$2 == sink { print $NF }' |
    grep -qx SUSPENDED
}

# stop_server [<signal>]: KILL stands for a crash, TERM for a restart.
stop_server() {
  local i
  for ((i = ${#server_pids[@]} - 1; i >= 0; i--)); do
    stop_process "${server_pids[i]}" "${1:-TERM}"
  done
  server_pids=()
}

has_data() { test -s "$1"; }

# The recorder's blocks. PulseAudio's null sink renders in blocks as small as its monitor's readers
# ask for, and a block rendered before a new stream arrives loses that stream's first frames from
# the monitor: small blocks. PipeWire runs its whole graph in the smallest cycle any stream asks
# for: the recorder leaves that to the program.
recorder_latency_ms() { [[ $server_kind == pipewire ]] && echo 20 || echo 5; }

# start_capture <file>: raw frames as the monitor delivers them. Returns once they flow: an idle
# PulseAudio null sink sleeps up to 2 s, and the first stream to come waits.
start_capture() {
  "${recorder[@]}" --latency-msec="$(recorder_latency_ms)" >"$1" 2>>"$server_dir/parec.log" &
  capture_pid=$!
  started "$capture_pid"
  wait_for 10 has_data "$1" || { cat "$server_dir/parec.log" >&2; fail "parec recorded nothing"; }
}

stop_capture() { stop_process "$capture_pid"; }
