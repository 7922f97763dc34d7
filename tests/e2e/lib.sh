# Sourced by the end-to-end scripts and the sound-server benchmark: a private X server, Quaverline
# on it found by its window, clicks on its keys, and the clean-up of every process they started.
# QUAVERLINE_E2E_KEEP=1 keeps the test's files (captures, logs) for a look.

# Client-area pixels of the key centres and of the code list, from the layout tables in
# ui/key_table.h and ui/control_table.h.
readonly client_width=791 client_height=685
readonly key_f_x=$((372 + 33 / 2)) key_a_x=$((445 + 33 / 2)) white_key_y=$((576 + 49 / 2))
readonly list_x=$((8 + 233 / 2)) list_y=$((8 + 667 / 2))

work=$(mktemp -d)
started_pids=()
exit_hooks=()

# Stops what is still running, newest first, so that clients go before their servers; then runs
# what at_exit asked for.
cleanup() {
  local i
  for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
    kill "${started_pids[i]}" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  for i in ${exit_hooks[@]+"${exit_hooks[@]}"}; do "$i"; done
  if [[ ${QUAVERLINE_E2E_KEEP:-0} == 1 ]]; then
    echo "the test's files stay in $work" >&2
  else
    rm -rf "$work"
  fi
}

# at_exit <function>: runs it at exit, once every started process has ended.
at_exit() { exit_hooks+=("$1"); }
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

started() { started_pids+=("$1"); }

# A process that has been waited for is no longer ended at exit: its number may be reused.
forget_process() {
  local i
  for i in "${!started_pids[@]}"; do
    [[ ${started_pids[i]} != "$1" ]] || unset 'started_pids[i]'
  done
  started_pids=("${started_pids[@]}")
}

# stop_process <pid> [<signal>]: ends one started process and waits for it.
stop_process() {
  kill -"${2:-TERM}" "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
  forget_process "$1"
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

# Starts an X server on a free display (it writes the number to fd 3) and exports DISPLAY.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  started $!
  wait_for 10 test -s "$work/display" || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
  export DISPLAY=":$(head -n1 "$work/display")"
  echo "X server on $DISPLAY"
}

# start_accessibility_bus: a private D-Bus session bus (exported) with the AT-SPI registry on it,
# started as desktops start them.
start_accessibility_bus() {
  dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" 2>"$work/dbus.log" &
  started $!
  wait_for 10 test -s "$work/bus" || fail "the session bus did not start"
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
  export DBUS_SESSION_BUS_ADDRESS
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
  started $!
  a11y_bus_up() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; }
  wait_for 10 a11y_bus_up || { cat "$work/atspi.log" >&2; fail "the accessibility bus did not start"; }
}

# start_program <log> <command>...: runs Quaverline unscaled on the X server and waits for its
# window. Sets prog_pid, window, its geometry X Y WIDTH HEIGHT, and left/top of the client area.
start_program() {
  local log=$1
  shift
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 QT_ENABLE_HIGHDPI_SCALING=0 "$@" >"$log" 2>&1 &
  prog_pid=$!
  started "$prog_pid"
  window=$(timeout 20 xdotool search --sync --all --onlyvisible --pid "$prog_pid" --name '^Quaverline' | head -n1) ||
    { cat "$log" >&2; fail "the window did not appear"; }
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "window $window at $X,$Y, $WIDTH x $HEIGHT"
  ((WIDTH == client_width && HEIGHT > client_height)) ||
    fail "window is $WIDTH x $HEIGHT, expected $client_width wide with a menu bar above $client_height"
  # The client area fills the window's bottom; the menu bar lies above it.
  left=$X
  top=$((Y + HEIGHT - client_height))
}

# opened_backends <program log>: what each device the program opened plays through, from its sound
# log (QT_LOGGING_RULES=quaverline.sound=true): "PipeWire stream" or "PulseAudio stream" for its
# own, "SDL <driver>" else.
opened_backends() {
  sed -nE 's/^quaverline.sound: (PipeWire|PulseAudio) stream .*/\1 stream/p; s/^quaverline.sound: ([a-z]+): opened.*/SDL \1/p' "$1"
}

# Leaks stay checked in the sanitizer build; the known ones of the system libraries are
# suppressed as in every test.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "${BASH_SOURCE[0]}")/../lsan.supp:print_suppressions=0}

# click_at <x> <y> [<button>]: clicks at a screen position. "mousemove --sync" to where the
# pointer already is waits 15 s for a motion that never comes, so it moves only when it must.
click_at() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  ((X == $1 && Y == $2)) || xdotool mousemove --sync "$1" "$2"
  xdotool click "${3:-1}"
}

# expect_clipboard: the clipboard read into $work/clipboard.txt holds $work/expected.txt byte for
# byte; both are shown as characters when they differ.
expect_clipboard() {
  if ! cmp "$work/expected.txt" "$work/clipboard.txt"; then
    echo "expected:" >&2
    od -c "$work/expected.txt" >&2
    echo "clipboard:" >&2
    od -c "$work/clipboard.txt" >&2
    fail "clipboard text differs"
  fi
  echo "clipboard as expected:"
  od -c "$work/clipboard.txt"
}

# ended_tones <capture>: how many tones have ended in the captured stream so far.
ended_tones() { "$tone_check" --count "$1" 2>/dev/null || echo 0; }
more_tones_than() { (($(ended_tones "$2") > $1)); }

# play_key <x> <capture> [<seconds>]: clicks the white key at client x and waits until its note
# has ended in the capture, so that notes never overlap. Fails (returns 1) when none ends.
play_key() {
  local x=$1 capture=$2 before
  before=$(ended_tones "$capture")
  click_at $((left + x)) $((top + white_key_y))
  wait_for "${3:-5}" more_tones_than "$before" "$capture"
}

# end_program <y> <seconds> <log>: chooses "End", the menu bar's first item at screen height y,
# and waits that long for the program to end with status 0. The ended program stays a zombie
# until it is waited for.
end_program() {
  click_at $((left + 16)) "$1"
  running() {
    local state=""
    read -r _ _ state _ 2>/dev/null <"/proc/$prog_pid/stat"
    [[ -n $state && $state != Z ]]
  }
  wait_for "$2" eval '! running' || fail "the program did not end after \"End\""
  local status=0
  wait "$prog_pid" || status=$?
  forget_process "$prog_pid"
  ((status == 0)) || { cat "$3" >&2; fail "the program ended with status $status"; }
}
