#!/usr/bin/env bash
# Quaverline from the keyboard alone, on its own X server: from the start, Tab to the piano, play F
# with its computer key and A with Space after the arrow keys, open the list's menu with the Menu
# key, copy, and compare the clipboard byte for byte; then the same keys on a German (QWERTZ)
# layout play by their place, not by their letter.
#   keyboard_only.sh <quaverline> <tone_check>
set -euo pipefail

prog=$1
tone_check=$2
. "$(dirname "$0")/lib.sh"

start_xvfb
setxkbmap -layout us
capture=$work/capture.raw
start_program "$work/program.log" env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$capture" "$prog"
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"

# keys_then_tone <keys>...: presses the keys (the last one plays a note) and waits for the note to
# end in the capture.
keys_then_tone() {
  local before
  before=$(ended_tones "$capture")
  xdotool key --delay 60 "$@"
  wait_for 5 more_tones_than "$before" "$capture" || fail "no note ended after: $*"
}

shown_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
more_windows_than() { (($(shown_windows) > $1)); }

# expect_clipboard <text>: opens the list's menu with the Menu key (the focus is in the list; the
# menu opens on "change duration"), chooses "copy list to clipboard" (Down over the separator) and
# compares.
expect_clipboard() {
  printf '%s' "$1" >"$work/expected.txt"
  : >"$work/clipboard.txt"
  local windows_before
  windows_before=$(shown_windows)
  xdotool key Menu
  wait_for 5 more_windows_than "$windows_before" || fail "the Menu key opened no menu"
  xdotool key --delay 60 Down Return
  same() { xclip -o -selection clipboard >"$work/clipboard.txt" 2>/dev/null && cmp -s "$work/expected.txt" "$work/clipboard.txt"; }
  wait_for 5 same || {
    od -c "$work/expected.txt" >&2
    od -c "$work/clipboard.txt" >&2
    fail "the clipboard differs"
  }
  od -c "$work/clipboard.txt"
}

# The focus starts in the list; the piano follows "add to list" at the end of the Tab order:
# List1, Text4, Text3, Text2, Text1, Command1, Command2, Command6, Command5, the selected option,
# Command3, the piano.
tabs=(); for _ in $(seq 11); do tabs+=(Tab); done
keys_then_tone "${tabs[@]}" v                   # V: F of the lower octave
keys_then_tone Right Right Right Right space    # from F up four semitones: A
xdotool key Tab                                 # round to the list
expect_clipboard $'Sound Portb.0 , 150 , 349\r\nSound Portb.0 , 150 , 440\r\n'

# German layout: the key at QWERTY's Z is Y there and still plays C; the one marked Z (QWERTY's Y)
# plays A of the upper octave.
setxkbmap -layout de
keys_then_tone shift+Tab y
keys_then_tone z
xdotool key Tab
expect_clipboard $'Sound Portb.0 , 150 , 349\r\nSound Portb.0 , 150 , 440\r\nSound Portb.0 , 150 , 261\r\nSound Portb.0 , 150 , 880\r\n'

"$tone_check" "$capture" 126 100 169 50 || fail "the notes sounded differ"
echo "PASS"
