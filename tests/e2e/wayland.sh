#!/usr/bin/env bash
# Runs Quaverline natively on a headless Wayland compositor (sway, with no Xwayland) at the given
# output scale and uses it from outside: the window maps with its app id at its fixed size, key F
# adds its line, the list's "copy list to clipboard" puts the CR LF-ended line on the Wayland
# clipboard, read back with wl-paste, and "End" ends it.
#   wayland.sh <quaverline> <wl_input> [<scale> [<expected clipboard text>]]
# Passing another text shows that the clipboard check fails. Sway refuses to run as root; it then
# runs as "nobody", and the program, as whoever runs this, connects to its socket.
set -euo pipefail

prog=$1
wl_input=$2
scale=${3:-1}
expected_text=${4:-$'Sound Portb.0 , 150 , 349\r\n'}
# The output's size in logical pixels, whatever its scale.
readonly app_id=io.github.quaverline.Quaverline output_width=1280 output_height=800

. "$(dirname "$0")/lib.sh"

# The compositor's own runtime directory; with sway as nobody, the work directory must let it in.
wl_dir=$work/wayland
mkdir -m 700 "$wl_dir"
as_compositor=()
if [[ $(id -u) -eq 0 ]]; then
  chmod 711 "$work"
  chown nobody: "$wl_dir"
  as_compositor=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# No border or title bar from sway: it adds them only after the window has mapped, and a click
# placed from the window's first reported place would land that much too high.
cat >"$work/sway.conf" <<EOF
output HEADLESS-1 resolution $((output_width * scale))x$((output_height * scale)) scale $scale
xwayland disable
default_border none
default_floating_border none
EOF
chmod 644 "$work/sway.conf"
"${as_compositor[@]}" env -i PATH="$PATH" HOME="$wl_dir" XDG_RUNTIME_DIR="$wl_dir" WLR_BACKENDS=headless \
  WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
started $!
compositor_up() { compgen -G "$wl_dir/wayland-[0-9]" >/dev/null && compgen -G "$wl_dir/sway-ipc.*" >/dev/null; }
wait_for 10 compositor_up || { cat "$work/sway.log" >&2; fail "sway did not start"; }
wayland_socket=$(compgen -G "$wl_dir/wayland-[0-9]" | head -n1)
export SWAYSOCK
SWAYSOCK=$(compgen -G "$wl_dir/sway-ipc.*" | head -n1)
echo "sway at scale $scale on $wayland_socket"

# The program's own runtime directory; WAYLAND_DISPLAY as a path reaches the compositor's socket.
mkdir -m 700 "$work/run"
on_wayland=(env -u DISPLAY -u QT_WAYLAND_DISABLE_WINDOWDECORATION -u QT_SCALE_FACTOR
  WAYLAND_DISPLAY="$wayland_socket" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=wayland)
"${on_wayland[@]}" WAYLAND_DEBUG=client SDL_AUDIODRIVER=dummy "$prog" >"$work/program.log" 2>&1 &
prog_pid=$!
started "$prog_pid"

# The window's client area (menu bar included) in layout coordinates, and whether it floats.
window_line() {
  swaymsg -r -t get_tree | jq -r --arg id "$app_id" '
    (.. | objects | select(has("floating_nodes")) | .floating_nodes[] | select(.app_id == $id) | "floating"),
    (.. | objects | select(.app_id? == $id) |
      "\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width) \(.window_rect.height)")' |
    tr '\n' ' '
}
mapped() { [[ $(window_line) == *[0-9]* ]]; }
wait_for 20 mapped || { tail -n 30 "$work/program.log" >&2; fail "no window with app id $app_id appeared"; }
read -r -a window <<<"$(window_line)"
echo "window: ${window[*]}"
[[ ${window[0]} == floating ]] || fail "the window is tiled, not kept at its own size"
x=${window[1]} y=${window[2]} width=${window[3]} height=${window[4]}
((width == client_width && height > client_height)) ||
  fail "window is $width x $height, expected $client_width wide with a menu bar above $client_height"
top=$((y + height - client_height))

# A fixed size, as the compositor is told it: the same minimum and maximum, which is what keeps
# desktops from offering to maximise the window.
# libwayland writes objects as xdg_toplevel@14 up to 1.21 (Debian 12), as xdg_toplevel#14 since.
sizes() { grep -oE "xdg_toplevel[@#][0-9]+\.set_(min|max)_size\([0-9]+, [0-9]+\)" "$work/program.log" | tail -n 2 || true; }
min_size=$(sizes | sed -n 's/.*set_min_size(\(.*\))/\1/p')
max_size=$(sizes | sed -n 's/.*set_max_size(\(.*\))/\1/p')
[[ -n $min_size && $min_size == "$max_size" && $min_size == "$width, $height" ]] ||
  fail "minimum size ($min_size) and maximum size ($max_size) are not the window's $width x $height"
echo "fixed size: minimum = maximum = $min_size"

input() { WAYLAND_DISPLAY="$wayland_socket" WL_INPUT_EXTENT="${output_width}x${output_height}" "$wl_input" "$@"; }

# Key F; its line is added once its 300 ms note has ended. Then the list's menu: Down, Down (over
# the separator) and Return choose "copy list to clipboard".
input move $((x + key_f_x)) $((top + white_key_y)) click left wait 800 \
  move $((x + list_x)) $((top + list_y)) click right wait 500 key down key down key enter

printf '%s' "$expected_text" >"$work/expected.txt"
read_clipboard() {
  "${on_wayland[@]}" timeout 5 wl-paste --no-newline --type text/plain >"$work/clipboard.txt" 2>/dev/null &&
    test -s "$work/clipboard.txt"
}
wait_for 5 read_clipboard || { tail -n 5 "$work/sway.log" >&2; fail "the Wayland clipboard stayed empty"; }
expect_clipboard

# "End" is the first item of the menu bar.
input move $((x + 16)) $((y + (height - client_height) / 2)) click left
ended() { ! kill -0 "$prog_pid" 2>/dev/null || [[ $(awk '{print $3}' "/proc/$prog_pid/stat" 2>/dev/null) == Z ]]; }
wait_for 5 ended || fail "the program did not end after \"End\""
status=0
wait "$prog_pid" || status=$?
forget_process "$prog_pid"
((status == 0)) || { tail -n 20 "$work/program.log" >&2; fail "the program ended with status $status"; }
echo "PASS"
