#!/usr/bin/env bash
# Runs Quaverline on its own X server and uses it as a person would, from outside the process:
# clicks the keys F and A, copies the code list through the list's context menu, reads the
# clipboard, checks the sound the keys made (captured by SDL's disk driver) and ends the program
# with "End".
#   real_display.sh <quaverline> <tone_check> [<expected clipboard text> [<periods>]]
# The last two default to the two code lines and the loop lengths of F and A; passing others
# shows that the checks fail.
set -euo pipefail

prog=$1
tone_check=$2
expected_text=${3:-$'Sound Portb.0 , 150 , 349\r\nSound Portb.0 , 150 , 440\r\n'}
read -r -a periods <<<"${4:-126 100}"  # 44100 Hz / 349.2282 Hz and / 440 Hz, rounded

# Client-area pixels of the key centres and of the code list, from the layout tables in
# ui/key_table.h and ui/control_table.h.
readonly client_width=791 client_height=685
readonly key_f_x=$((372 + 33 / 2)) key_a_x=$((445 + 33 / 2)) white_key_y=$((576 + 49 / 2))
readonly list_x=$((8 + 233 / 2)) list_y=$((8 + 667 / 2))

work=$(mktemp -d)
xvfb_pid=""
prog_pid=""
cleanup() {
  [[ -n $prog_pid ]] && kill "$prog_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
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

# The X server picks a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 10 test -s "$work/display" || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
export DISPLAY=":$(head -n1 "$work/display")"
echo "X server on $DISPLAY"

capture=$work/capture.raw
# Leaks stay checked; the known ones of the system libraries are suppressed as in every test.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "$0")/../lsan.supp:print_suppressions=0}
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 QT_ENABLE_HIGHDPI_SCALING=0 \
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$capture" \
  "$prog" >"$work/program.log" 2>&1 &
prog_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quaverline' | head -n1) ||
  { cat "$work/program.log" >&2; fail "the window did not appear"; }
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window at $X,$Y, $WIDTH x $HEIGHT"
((WIDTH == client_width && HEIGHT > client_height)) ||
  fail "window is $WIDTH x $HEIGHT, expected $client_width wide with a menu bar above $client_height"
# The client area fills the window's bottom; the menu bar lies above it.
left=$X
top=$((Y + HEIGHT - client_height))
menu_bar_height=$((HEIGHT - client_height))

ended_tones() { "$tone_check" --count "$capture" 2>/dev/null || echo 0; }
more_tones_than() { (($(ended_tones) > $1)); }

# Each click waits until its note has ended in the captured sound, so notes never overlap.
play_key() {
  local x=$1 before
  before=$(ended_tones)
  xdotool mousemove --sync $((left + x)) $((top + white_key_y)) click 1
  wait_for 5 more_tones_than "$before" || fail "no tone ended after the click at x=$x"
}
play_key "$key_f_x"
play_key "$key_a_x"

# Right-click the list for its menu; then Down, Down (over the separator) and Return choose
# "copy list to clipboard". The menu takes the keyboard once it is mapped.
shown_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
more_windows_than() { (($(shown_windows) > $1)); }
windows_before=$(shown_windows)
xdotool mousemove --sync $((left + list_x)) $((top + list_y)) click 3
wait_for 5 more_windows_than "$windows_before" ||
  fail "the list's context menu did not open"
xdotool key --delay 50 Down Down Return

printf '%s' "$expected_text" >"$work/expected.txt"
read_clipboard() { xclip -o -selection clipboard >"$work/clipboard.txt" 2>/dev/null && test -s "$work/clipboard.txt"; }
wait_for 5 read_clipboard || fail "the clipboard stayed empty"
if ! cmp "$work/expected.txt" "$work/clipboard.txt"; then
  echo "expected:" >&2
  od -c "$work/expected.txt" >&2
  echo "clipboard:" >&2
  od -c "$work/clipboard.txt" >&2
  fail "clipboard text differs"
fi
echo "clipboard as expected:"
od -c "$work/clipboard.txt"

"$tone_check" "$capture" "${periods[@]}" || fail "captured sound differs"

# A list playing while a window manager pings the window and a key is clicked.
source "$(dirname "$0")/playback_ping.sh"

# "End" is the first item of the menu bar.
xdotool mousemove --sync $((left + 16)) $((Y + menu_bar_height / 2)) click 1
# The ended program stays a zombie until it is waited for.
running() {
  local state=""
  read -r _ _ state _ 2>/dev/null <"/proc/$prog_pid/stat"
  [[ -n $state && $state != Z ]]
}
wait_for 5 eval '! running' || fail "the program did not end after \"End\""
status=0
wait "$prog_pid" || status=$?
prog_pid=""
if ((status != 0)); then
  cat "$work/program.log" >&2
  fail "the program ended with status $status"
fi
echo "PASS"
