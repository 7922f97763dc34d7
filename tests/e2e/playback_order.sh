# Part of real_display.sh, after short_beeps_ping.sh: key F, then "Play on PC-Speaker" during F's
# note (so that F's tick falls due during the 400 ms beep), "Play on Soundcard" clicked during the
# beep and key A clicked during that button's 800 ms tone. The clicks held back by the playback
# come in order after it, before F's kept tick: A's note runs inside F's, and its line comes first,
# as with a key clicked during another key's note.
readonly beep_x=$((256 + 376 + 137 / 2)) beep_y=$((24 + 41 / 2))
readonly soundcard_x=$((256 + 376 + 137 / 2)) soundcard_y=$((72 + 41 / 2))

open_list_menu
xdotool key --delay 50 Up Return
click_in_window "$duration_x" "$duration_y"
xdotool key ctrl+a type 400
sleep 0.3
click_in_window "$key_f_x" "$white_key_y"
sleep 0.1
click_in_window "$beep_x" "$beep_y"
sleep 0.1
click_in_window "$soundcard_x" "$soundcard_y"
sleep 0.4
click_in_window "$key_a_x" "$white_key_y"
# 0.5 s beep's end, 0.8 s tone, A's 0.3 s note.
sleep 2.5
open_list_menu
xdotool key --delay 50 Down Down Return
expected_order=$'Sound Portb.0 , 400 , 440\r\nSound Portb.0 , 400 , 349\r\n'
printf '%s' "$expected_order" >"$work/expected-order.txt"
wait_for 5 read_clipboard_matching "$work/expected-order.txt" || {
  od -c "$work/clipboard.txt" >&2
  fail "the clicks held back by playback did not come in order before F's tick"
}
echo "order of the lines as expected: A's inside F's"
