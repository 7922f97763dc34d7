# Sourced after lib.sh: RealtimeKit as a desktop has it, on a system bus private to one run, and an
# ordinary user to run sound as. Needs root.
#   start_realtime_kit <dir>   a system bus (dbus-daemon), polkit's answer for a user of a desktop's
#                              active session (polkit_allow.py), and Debian's rtkit-daemon on it;
#                              sets system_bus to its address
#   as_ordinary_user           sets run_as and run_as_user: a user of its own, made for this run,
#                              with no real-time priority and no raised nice level of its own
#   runnable_by_user <program> a path that user can run the program from: the program itself, or
#                              a copy in the test's folder where the checkout is closed to others
#                              (under /root, say)

start_realtime_kit() {
  local dir=$1
  mkdir -p "$dir"
  chmod 755 "$dir"
  cat >"$dir/system.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$dir/system_bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
  dbus-daemon --config-file="$dir/system.conf" --nofork --nopidfile >>"$dir/dbus.log" 2>&1 &
  started $!
  wait_for 10 test -S "$dir/system_bus" || { cat "$dir/dbus.log" >&2; fail "the system bus did not start"; }
  system_bus=unix:path=$dir/system_bus
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/polkit_allow.py" "$system_bus" "$dir/polkit.ready" >>"$dir/polkit.log" 2>&1 &
  started $!
  wait_for 10 test -e "$dir/polkit.ready" || { cat "$dir/polkit.log" >&2; fail "polkit's stand-in did not start"; }
  # rtkit-daemon allows itself no file size, so its messages go through a pipe.
  mkfifo "$dir/rtkit.pipe"
  cat <"$dir/rtkit.pipe" >>"$dir/rtkit.log" &
  started $!
  DBUS_SYSTEM_BUS_ADDRESS=$system_bus /usr/libexec/rtkit-daemon --stderr >"$dir/rtkit.pipe" 2>&1 &
  started $!
  rtkit_answers() {
    dbus-send --bus="$system_bus" --print-reply --dest=org.freedesktop.RealtimeKit1 /org/freedesktop/RealtimeKit1 \
      org.freedesktop.DBus.Properties.Get string:org.freedesktop.RealtimeKit1 string:MaxRealtimePriority >/dev/null 2>&1
  }
  wait_for 10 rtkit_answers || { cat "$dir/rtkit.log" >&2; fail "rtkit-daemon did not answer"; }
  echo "RealtimeKit on a private system bus ($system_bus)"
}

as_ordinary_user() {
  run_as_user=quaverline-e2e-$$
  useradd --system --user-group --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$run_as_user" ||
    fail "cannot make the user $run_as_user"
  remove_user() { userdel "$run_as_user" 2>/dev/null || true; }
  at_exit remove_user
  run_as=(prlimit --rtprio=0:0 --nice=0:0 setpriv --reuid="$run_as_user" --regid="$run_as_user" --clear-groups --)
  chmod 755 "$work"
  echo "as the user $run_as_user: $("${run_as[@]}" bash -c 'echo "uid $(id -u), real-time priority limit $(ulimit -r), nice limit $(ulimit -e)"')"
}

runnable_by_user() {
  if "${run_as[@]}" test -x "$1"; then
    echo "$1"
    return
  fi
  mkdir -p "$work/bin"
  chmod 755 "$work/bin"
  install -m 755 "$1" "$work/bin/" || fail "cannot copy $1 for $run_as_user"
  echo "$work/bin/$(basename "$1")"
}
