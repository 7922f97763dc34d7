#!/usr/bin/env bash
# Runs Quaverline on its own X server and uses it as a person would, from outside the process:
# the window is centred, it clicks the keys F and A, copies the code list through the list's
# context menu, reads the clipboard, checks the sound the keys made (captured by SDL's disk
# driver) and ends the program with "End"; then, under a window manager, the window's frame is
# centred at 1x and 2x.
#   real_display.sh <quaverline> <tone_check> [<expected clipboard text> [<periods>]]
# The last two default to the two code lines and the loop lengths of F and A; passing others
# shows that the checks fail.
set -euo pipefail

prog=$1
tone_check=$2
expected_text=${3:-$'Sound Portb.0 , 150 , 349\r\nSound Portb.0 , 150 , 440\r\n'}
read -r -a periods <<<"${4:-126 100}"  # 44100 Hz / 349.2282 Hz and / 440 Hz, rounded

. "$(dirname "$0")/lib.sh"

start_xvfb
capture=$work/capture.raw
start_program "$work/program.log" env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$capture" "$prog"
menu_bar_height=$((HEIGHT - client_height))
# Without a window manager there is no frame: the window itself is centred.
read -r screen_width screen_height <<<"$(xdotool getdisplaygeometry)"
off_x=$(((2 * X + WIDTH - screen_width) / 2)) off_y=$(((2 * Y + HEIGHT - screen_height) / 2))
((off_x >= -2 && off_x <= 2 && off_y >= -2 && off_y <= 2)) || fail "the window is off the centre by $off_x, $off_y"

play_key "$key_f_x" "$capture" || fail "no tone ended after the click on F"
play_key "$key_a_x" "$capture" || fail "no tone ended after the click on A"

# Right-click the list for its menu; then Down, Down (over the separator) and Return choose
# "copy list to clipboard". The menu takes the keyboard once it is mapped.
shown_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
more_windows_than() { (($(shown_windows) > $1)); }
open_list_menu() {
  local before
  before=$(shown_windows)
  click_at $((left + list_x)) $((top + list_y)) 3
  wait_for 5 more_windows_than "$before" || fail "the list's context menu did not open"
}
open_list_menu
xdotool key --delay 50 Down Down Return

printf '%s' "$expected_text" >"$work/expected.txt"
read_clipboard() { xclip -o -selection clipboard >"$work/clipboard.txt" 2>/dev/null && test -s "$work/clipboard.txt"; }
read_clipboard_matching() { read_clipboard && cmp -s "$1" "$work/clipboard.txt"; }
wait_for 5 read_clipboard || fail "the clipboard stayed empty"
expect_clipboard

"$tone_check" "$capture" "${periods[@]}" || fail "captured sound differs"

# A list playing while a window manager pings the window and a key is clicked.
source "$(dirname "$0")/playback_ping.sh"
source "$(dirname "$0")/short_beeps_ping.sh"
source "$(dirname "$0")/playback_order.sh"

# "End" is the first item of the menu bar.
end_program $((Y + menu_bar_height / 2)) 5 "$work/program.log"

source "$(dirname "$0")/centred.sh"
echo "PASS"
