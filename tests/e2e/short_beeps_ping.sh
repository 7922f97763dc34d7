# Part of real_display.sh, after playback_ping.sh: the list is emptied and refilled with 140 lines
# of 20 ms, and "Play List on PC-Speaker" plays them: 20 ms beeps and 20 ms pauses, 5.6 s in all.
# Meanwhile the window manager pings the window every 250 ms and another program pastes the
# program's clipboard every 400 ms: each must be answered within 100 ms.
readonly short_limit_ms=100

# "delete all", the menu's last item: Up from no item chosen goes to it.
open_list_menu
xdotool key --delay 50 Up Return
click_in_window "$duration_x" "$duration_y"
xdotool key ctrl+a type 20
click_in_window "$add_x" "$add_y"
# The button keeps the focus: Space presses it again.
xdotool key --repeat 139 --delay 2 space
sleep 0.5
click_in_window "$play_list_x" "$play_list_y"
"$wm_ping" "$window" 20 250 "$short_limit_ms" >"$work/short-pings.txt" &
ping_pid=$!
paste_ms=()
for _ in $(seq 10); do
  sleep 0.4
  t0=$(date +%s%N)
  xclip -o -selection clipboard >/dev/null 2>&1 || true
  paste_ms+=($((($(date +%s%N) - t0) / 1000000)))
done
ping_status=0
wait "$ping_pid" || ping_status=$?
tail -n1 "$work/short-pings.txt"
echo "pastes during the short beeps answered after (ms): ${paste_ms[*]}"
((ping_status == 0)) || fail "a ping during 20 ms beeps waited more than $short_limit_ms ms"
for ms in "${paste_ms[@]}"; do
  ((ms <= short_limit_ms)) || fail "a paste during 20 ms beeps waited $ms ms"
done
# Wait for the list's end before going on.
sleep 1
