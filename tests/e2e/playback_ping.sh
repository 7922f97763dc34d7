# Part of real_display.sh, run after the keys F and A have written their lines: two lines of
# 1000 ms join them, and "Play List on PC-Speaker" beeps 150, 150, 1000 and 1000 ms, each beep
# followed by as much silence, 4.6 s in all. Meanwhile wm_ping (path in WM_PING) pings the window
# every 0.5 s as a window manager does and wants each answer within a second, and the key F,
# clicked one second in, must sound only after the list has ended.
wm_ping=${WM_PING:?WM_PING names the wm_ping helper}

# Client-area pixels of the duration field, "add to list" and "Play List on PC-Speaker", from
# ui/control_table.h (Frame1's controls lie 256 px to the right).
readonly duration_x=$((256 + 160 + 73 / 2)) duration_y=$((32 + 19 / 2))
readonly add_x=$((256 + 256 + 81 / 2)) add_y=$((72 + 41 / 2))
readonly play_list_x=$((472 + 137 / 2)) play_list_y=$((368 + 41 / 2))

click_in_window() { click_at $((left + $1)) $((top + $2)); }
click_in_window "$duration_x" "$duration_y"
xdotool key ctrl+a type 1000
click_in_window "$add_x" "$add_y"
click_in_window "$add_x" "$add_y"
click_in_window "$play_list_x" "$play_list_y"
"$wm_ping" "$window" 8 500 >"$work/pings.txt" &
ping_pid=$!
sleep 1
click_in_window "$key_f_x" "$white_key_y"
ping_status=0
wait "$ping_pid" || ping_status=$?
cat "$work/pings.txt"
((ping_status == 0)) || fail "the window did not answer the window manager's ping during playback"

# Tones 3 to 6 are the beeps, 7 the key's note after the last beep's silence (1000 ms; the disk
# driver's clock may run a little fast against the wall clock).
wait_for 10 more_tones_than 6 "$capture" || echo "the key's note did not follow the playback" >&2
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
