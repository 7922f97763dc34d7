#!/usr/bin/env bash
# Runs Quaverline natively on GNOME's own compositor, mutter, nested in a private Xvfb, which has
# no server-side decorations: the window draws its own title bar. Seen from outside, in the
# compositor's output (screenshots) and its Wayland requests:
#   - the window maps at its fixed size, wholly on the output; at 1280 x 720 it leaves room for
#     GNOME's 32 px top bar, with every key inside;
#   - key F, clicked, adds its line (read back through AT-SPI);
#   - the title bar has a close button only, and is drawn active (a dark title) while the window
#     is active, dimmed while another window is, and active again once that one has gone;
#   - a right click on the title bar asks the compositor for its window menu, with that click's
#     serial (xdg_toplevel.show_window_menu).
#   gnome_wayland.sh <quaverline> <output width>x<height> [<scale>]   (OTHER_WINDOW: its helper)
# The output's size is in the compositor's pixels. QUAVERLINE_SCREENSHOTS=<dir> keeps the
# pictures there.
set -euo pipefail

prog=$1
output=$2
scale=${3:-1}
readonly top_bar=32 title_height=30
here=$(dirname "$0")
. "$here/lib.sh"
shot_tool=(python3 "$here/window_shot.py")

output_width=${output%x*} output_height=${output#*x}
Xvfb -displayfd 3 -screen 0 "$((output_width + 16))x$((output_height + 16))x24" -nolisten tcp 3>"$work/display" \
  2>"$work/xvfb.log" &
started $!
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
start_accessibility_bus
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run
MUTTER_DEBUG_DUMMY_MODE_SPECS=$output MUTTER_DEBUG_DUMMY_MONITOR_SCALES=$scale \
  mutter --nested --wayland --no-x11 --wayland-display wayland-test >"$work/mutter.log" 2>&1 &
started $!
wait_for 15 test -S "$work/run/wayland-test" || { cat "$work/mutter.log" >&2; fail "mutter did not start"; }
nested_window() { xwininfo -root -tree | awk '$2 == "\"mutter\":" { print $1; exit }'; }
wait_for 10 test -n "$(nested_window)" || { cat "$work/mutter.log" >&2; fail "no window of mutter's on Xvfb"; }
nested=$(nested_window)
echo "mutter at $output, scale $scale"

env -u DISPLAY -u QT_SCALE_FACTOR WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 SDL_AUDIODRIVER=dummy "$prog" >"$work/program.log" 2>&1 &
prog_pid=$!
started "$prog_pid"

# The fixed size Qt tells the compositor, in the window's own pixels.
# libwayland writes objects as xdg_toplevel@14 up to 1.21 (Debian 12), as xdg_toplevel#14 since.
fixed_size() { grep -oE "xdg_toplevel[@#][0-9]+\.set_max_size\([0-9]+, [0-9]+\)" "$work/program.log" 2>/dev/null | tail -n1 | grep -oE "[0-9]+, [0-9]+" | tr -d ,; }
shot_number=0
# shot <name>: the compositor's output now, as $work/<name>.ppm.
shot() {
  # The pointer off the output, where the compositor draws no cursor.
  xdotool mousemove $((output_width + 8)) $((output_height + 8))
  sleep 0.5  # the compositor's next frame
  xwd -silent -id "$nested" | xwdtopnm 2>/dev/null >"$work/$1.ppm"
  if [[ -n ${QUAVERLINE_SCREENSHOTS:-} ]]; then
    mkdir -p "$QUAVERLINE_SCREENSHOTS"
    pnmtopng "$work/$1.ppm" >"$QUAVERLINE_SCREENSHOTS/mutter-${output}-${scale}x-$1.png"
  fi
}
has_fixed_size() { [[ -n $(fixed_size) ]]; }
wait_for 20 has_fixed_size || { tail -n 20 "$work/program.log" >&2; fail "the window did not map"; }
read -r width height <<<"$(fixed_size)"
sleep 1
shot mapped
read -r box_x box_y box_width box_height <<<"$("${shot_tool[@]}" window "$work/mapped.ppm")"
echo "window $width x $height; on the output at $box_x,$box_y, $box_width x $box_height"
((box_width == width * scale && box_height == height * scale)) || fail "the window on the output is not $width x $height"
((box_x >= 0 && box_y >= 0 && box_x + box_width <= output_width && box_y + box_height <= output_height)) ||
  fail "the window is not wholly on the output"
logical_height=$((output_height / scale))
((height <= logical_height - top_bar)) || fail "no room left for a $top_bar px top bar: the window is $height high"

# Layout places, in the window's pixels: the client area is fitted uniformly below its title bar
# and menu bar.
fit=$(awk -v w="$width" 'BEGIN { print w / 791 }')
fitted_height=$(awk -v f="$fit" 'BEGIN { printf "%d", 685 * f + 0.5 }')
client_top=$((height - fitted_height))
at() { awk -v b="$1" -v p="$2" -v f="$3" -v s="$scale" -v o="${4:-0}" 'BEGIN { printf "%d", b + (o + p * f) * s }'; }
click_window() { xdotool mousemove "$(at "$box_x" "$1" "$fit")" "$(at "$box_y" "$2" "$fit" "$3")" sleep 0.2 click "${4:-1}"; }
# title_dark <left> <width>: dark pixels of the last picture in the title bar, between these
# window columns.
title_dark() { "${shot_tool[@]}" dark "$work/$1.ppm" $((box_x + $2 * scale)) $((box_y + 6 * scale)) $(($3 * scale)) $((18 * scale)); }

# Every key inside the client area, below the title bar and the menu bar.
last_key_bottom=$(at 0 $((576 + 49)) "$fit" "$client_top")
((last_key_bottom <= box_height)) || fail "the keys reach below the window"

click_window $((372 + 16)) $((576 + 24)) "$client_top"
sleep 1
lines=$(/usr/bin/python3 "$here/atspi_tree.py" lines -)
[[ $lines == "Sound Portb.0 , 150 , 349" ]] || fail "after a click on F the list reads: $lines"
echo "key F added: $lines"

shot active
title=$(title_dark active $((width / 2 - 100)) 200)
close=$(title_dark active $((width - 24)) 18)
maximise=$(title_dark active $((width - 38 - 9)) 18)
minimise=$(title_dark active $((width - 61 - 9)) 18)
echo "active: title $title dark pixels, close button $close, where maximise and minimise would be $maximise and $minimise"
((title > 20 && close > 0)) || fail "the title bar is not drawn as the active window's"
((maximise == 0 && minimise == 0)) || fail "the title bar has more buttons than close"

# Another window takes the focus.
other_window=${OTHER_WINDOW:?OTHER_WINDOW names the other_window helper}
env -u DISPLAY WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland "$other_window" >"$work/other.log" 2>&1 &
other_pid=$!
started "$other_pid"
sleep 1.5
shot inactive
dimmed=$(title_dark inactive $((width / 2 - 100)) 200)
echo "inactive: title $dimmed dark pixels"
((dimmed < title / 10)) || fail "the title bar still looks active after the desktop took the focus"
stop_process "$other_pid"
shot active-again
again=$(title_dark active-again $((width / 2 - 100)) 200)
((again > 20)) || fail "the title bar did not look active again after a click on it"

# The compositor's window menu: held long enough that the press is the last input event.
xdotool mousemove "$(at "$box_x" 120 1)" "$(at "$box_y" 12 1)" sleep 0.2 mousedown 3 sleep 0.3 mouseup 3
sleep 0.5
menu=$(grep -oE "xdg_toplevel[@#][0-9]+\.show_window_menu\(wl_seat[@#][0-9]+, [0-9]+" "$work/program.log" | tail -n1 | grep -oE "[0-9]+$") ||
  fail "no window menu was asked for"
press=$(grep -oE "wl_pointer[@#][0-9]+\.button\([0-9]+, [0-9]+, 273, 1\)" "$work/program.log" | tail -n1 | grep -oE "\(([0-9]+)" | tr -d '(')
[[ $menu == "$press" ]] || fail "the window menu was asked for with serial $menu, not the right click's $press"
echo "window menu asked for with the right click's serial $menu"
echo "PASS"
