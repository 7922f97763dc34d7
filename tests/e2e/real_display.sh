#!/usr/bin/env bash
# Runs Quaverline on its own X server and uses it as a person would, from outside the process:
# clicks the keys F and A, copies the code list through the list's context menu, reads the
# clipboard, checks the sound the keys made (captured by SDL's disk driver), plays a list of a
# few seconds on the PC speaker while pinging the window as a window manager does and clicking a
# key, and ends the program with "End".
#   real_display.sh <quaverline> <tone_check> <wm_ping> [<expected clipboard text> [<periods>]]
# The last two default to the two code lines and the loop lengths of F and A; passing others
# shows that the checks fail.
set -euo pipefail

prog=$1
tone_check=$2
wm_ping=$3
expected_text=${4:-$'Sound Portb.0 , 150 , 349\r\nSound Portb.0 , 150 , 440\r\n'}
read -r -a periods <<<"${5:-126 100}"  # 44100 Hz / 349.2282 Hz and / 440 Hz, rounded

# Client-area pixels of the key centres, the code list, the duration field, "add to list" and
# "Play List on PC-Speaker", from the layout tables in ui/key_table.h and ui/control_table.h
# (Frame1's controls lie 256 px to the right).
readonly client_width=791 client_height=685
readonly key_f_x=$((372 + 33 / 2)) key_a_x=$((445 + 33 / 2)) white_key_y=$((576 + 49 / 2))
readonly list_x=$((8 + 233 / 2)) list_y=$((8 + 667 / 2))
readonly duration_x=$((256 + 160 + 73 / 2)) duration_y=$((32 + 19 / 2))
readonly add_x=$((256 + 256 + 81 / 2)) add_y=$((72 + 41 / 2))
readonly play_list_x=$((472 + 137 / 2)) play_list_y=$((368 + 41 / 2))

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

# Two lines of 1000 ms join F and A: "Play List on PC-Speaker" then beeps 150 ms and 1000 ms
# long, each followed by as much silence, 4.6 s in all. Meanwhile the window must answer every
# ping within a second, while the key F clicked one second in must wait until the list has ended.
click_at() { xdotool mousemove --sync $((left + $1)) $((top + $2)) click 1; }
click_at "$duration_x" "$duration_y"
xdotool key ctrl+a type 1000
click_at "$add_x" "$add_y"
click_at "$add_x" "$add_y"
click_at "$play_list_x" "$play_list_y"
"$wm_ping" "$window" 8 500 >"$work/pings.txt" &
ping_pid=$!
sleep 1
click_at "$key_f_x" "$white_key_y"
ping_status=0
wait "$ping_pid" || ping_status=$?
cat "$work/pings.txt"
((ping_status == 0)) || fail "the window did not answer the window manager's ping during playback"
# Tones 3 to 6 are the beeps, 7 the key's note after the last beep's silence (1000 ms; the disk
# driver's clock may run a little fast against the wall clock).
wait_for 10 more_tones_than 6 || echo "the key's note did not follow the playback" >&2
"$tone_check" --list "$capture" >"$work/tones.txt"
echo "tones (start ms, length ms):"
cat "$work/tones.txt"
awk 'function off(a, b) { return a > b ? a - b : b - a }
     NR == 3 || NR == 4 { ok = ok && off($2, 150) < 5 }
     NR == 5 || NR == 6 { ok = ok && off($2, 1000) < 5 }
     NR == 6 { beeps_end = $1 + $2 }
     NR == 7 { ok = ok && off($2, 300) < 15 && $1 - beeps_end >= 900 }
     BEGIN { ok = 1 } END { exit !(ok && NR == 7) }' "$work/tones.txt" ||
  fail "the key clicked during playback did not sound after it, or the beeps changed"

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
