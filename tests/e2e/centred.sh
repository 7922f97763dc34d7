# Sourced by real_display.sh after its program has ended: the window centred on the X server,
# by the frame its window manager says it draws (_NET_FRAME_EXTENTS), to 2 px, under mutter at
# 1x and 2x; the window itself without a window manager is checked at the start.

# frame_of <window>: "x y width height" of the window's frame on the screen. (xdotool's geometry of
# a framed window is off by the frame; xwininfo's is the window's own.)
frame_of() {
  local extents left right frame_top bottom x y width height
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ,)
  read -r left right frame_top bottom <<<"${extents:-0 0 0 0}"
  read -r x y width height <<<"$(xwininfo -id "$1" |
    awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} /Width:/ {w = $NF} /Height:/ {h = $NF}
         END {print x, y, w, h}')"
  echo $((x - left)) $((y - frame_top)) $((width + left + right)) $((height + frame_top + bottom))
}

# expect_centred <window> <what>: within 2 px of the screen's centre.
expect_centred() {
  local screen_width screen_height x y width height
  read -r screen_width screen_height <<<"$(xdotool getdisplaygeometry)"
  read -r x y width height <<<"$(frame_of "$1")"
  local dx=$((2 * x + width - screen_width)) dy=$((2 * y + height - screen_height))
  echo "$2: frame at $x,$y, $width x $height on $screen_width x $screen_height"
  ((dx >= -4 && dx <= 4 && dy >= -4 && dy <= 4)) || fail "$2: not centred (off by $((dx / 2)), $((dy / 2)))"
}

# framed_by_manager <window>: the window manager has framed it and said so.
framed_by_manager() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q ' = '; }

dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/wm-bus" 2>"$work/wm-dbus.log" &
started $!
wait_for 10 test -s "$work/wm-bus" || fail "the window manager's session bus did not start"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/wm-bus") mutter --x11 --replace >"$work/mutter.log" 2>&1 &
started $!
manager_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for 15 manager_up || { cat "$work/mutter.log" >&2; fail "mutter did not start"; }

for scale in 1 2; do
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale QT_ENABLE_HIGHDPI_SCALING=0 SDL_AUDIODRIVER=dummy "$prog" \
    >"$work/program-wm-$scale.log" 2>&1 &
  wm_pid=$!
  started "$wm_pid"
  # Polled rather than --sync: xdotool gives up on a BadWindow when any window it walks past is
  # destroyed meanwhile (mutter's own, or the last run's).
  wm_window=
  shown() { wm_window=$(xdotool search --all --onlyvisible --pid "$wm_pid" --name '^Quaverline' 2>/dev/null | head -n1); [[ -n $wm_window ]]; }
  wait_for 20 shown || fail "the window did not appear under mutter"
  wait_for 10 framed_by_manager "$wm_window" || fail "mutter did not frame the window"
  sleep 0.5  # placed
  expect_centred "$wm_window" "under mutter at ${scale}x"
  stop_process "$wm_pid"
done
