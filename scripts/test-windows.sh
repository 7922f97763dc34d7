#!/usr/bin/env bash
# Tests the Windows build under Wine, on a private X server and a private PulseAudio:
#  1. the QtTest executables, through CTest with Wine as the emulator, on Qt's own Windows platform
#     (Wine passes no QT_ variable on, so the tests' offscreen platform does not reach them) on the
#     private X server, with SDL's dummy and disk drivers as on Linux, and freed memory poisoned
#     by Wine's heap checks, so that a use after free crashes at once;
#  2. end to end: the installer installs silently into a fresh Wine prefix; the installed program
#     plays keys F and A (captured from the sound server's null sink through Wine's PulseAudio
#     driver), copies the list through its context menu (read back from the Windows clipboard by
#     a small Windows program, CR LF included), plays F again once its device has slept and again
#     after the sound server's restart, ends with "End", and is uninstalled again.
#   test-windows.sh [<expected clipboard text> [<periods>]]
# The two arguments default to the two code lines and the loop lengths of F and A; passing others
# shows that the checks fail. Run ./scripts/package-windows.sh first. QUAVERLINE_SCREENSHOTS=<dir>
# also saves the window, in English and in German, as PNG files there.
set -euo pipefail
expected_text=${1:-$'Sound Portb.0 , 150 , 349\r\nSound Portb.0 , 150 , 440\r\n'}
read -r -a periods <<<"${2:-126 100}"  # 44100 Hz / 349.2282 Hz and / 440 Hz, rounded
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" "$here/packages-windows.txt"
source "$here/scripts/windows-env.sh"
[[ -f "$win_qt/.done" && -f "$win_sdl/.done" ]] || { echo "Run ./scripts/package-windows.sh first." >&2; exit 1; }
setup_exe=$(ls "$win_build"/out/quaverline-*-win64-setup.exe 2>/dev/null | tail -n1)
[[ -n "$setup_exe" ]] || { echo "No installer: run ./scripts/package-windows.sh first." >&2; exit 1; }

win_configure -DCMAKE_CROSSCOMPILING_EMULATOR=wine
nice -n 10 cmake --build "$win_build"
# SDL2 is loaded from the program's own folder only, as the installed program finds it.
cp "$win_sdl/bin/SDL2.dll" "$win_build/tests/"

. "$here/tests/e2e/lib.sh"
. "$here/tests/e2e/private_servers.sh"
unset SDL_AUDIODRIVER
# w <command>...: runs a command in the test's Wine prefix, as a client of the private sound server.
w() { "${client_env[@]}" "${wine_env[@]}" "$@"; }
wine_down() { [[ -z "${wine_env:-}" ]] || w wineserver -k 2>/dev/null || true; }
trap 'wine_down; cleanup' EXIT

start_xvfb
prepare_server pulseaudio "$work/pulse"
start_server
# Every Wine command is a client of the private sound server only.
prefix=$work/wine
wine_env "$prefix"
echo "== fresh Wine prefix"
w wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; fail "wineboot failed"; }
# Wine's own fonts, as Windows has them: MS Sans Serif a bitmap face, Tahoma the dialogs' face.
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"

echo "== unit tests"
# A failed unit test is reported at the end, after the end-to-end run has shown what it can.
unit_failed=0
wine_path=$(for dir in "${win_dll_dirs[@]}"; do win_path "$dir"; done | paste -sd ';')
# QtTest writes to the debugger's output unless told that stderr is a console; Wine passes
# WINEQT_ variables on without their WINE.
w WINEPATH="$wine_path" WINEQT_FORCE_STDERR_LOGGING=1 WINEDEBUG=-all,warn+heap \
  ctest --test-dir "$win_build" --output-on-failure --timeout 120 || unit_failed=1

echo "== silent install"
w wine "$setup_exe" /S >"$work/setup.log" 2>&1 || { cat "$work/setup.log" >&2; fail "the installer failed"; }
installed=$(ls -d "$prefix"/drive_c/users/*/AppData/Local/Programs/Quaverline)
start_menu=$(ls -d "$prefix"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs)
[[ -f "$installed/quaverline.exe" && -f "$installed/uninstall.exe" ]] || fail "nothing installed in $installed"
[[ -f "$start_menu/Quaverline.lnk" ]] || fail "no Start-menu entry in $start_menu"
echo "installed: $(cd "$installed" && find . -type f | sort | tr '\n' ' ')"

echo "== the installed program"
tone_check=$work/tone_check
g++ -std=c++20 -O2 -o "$tone_check" "$here/tests/e2e/tone_check.cpp"
capture=$work/capture.raw
start_capture "$capture"
# The sound log goes to Windows' debug output, which Wine 8 shows on its seh channel for the wide
# strings Qt writes, with its monotonic clock.
"${client_env[@]}" "${wine_env[@]}" WINEQT_LOGGING_RULES=quaverline.sound=true WINEDEBUG=-all,+timestamp,warn+seh \
  wine "$installed/quaverline.exe" >"$work/program.log" 2>&1 &
prog_pid=$!
started "$prog_pid"
# sound_log: "<seconds> <message>" for each line of the program's sound log so far.
sound_log() {
  sed -nE 's/^([0-9.]+):.*OutputDebugStringA "quaverline\.sound: (.*)\\n"$/\1 \2/p' "$work/program.log"
}
logged() { sound_log | grep -qE "$1"; }
logged_count() { sound_log | grep -cE "$1" || true; }
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Quaverline' | head -n1) ||
  { cat "$work/program.log" >&2; fail "the window did not appear"; }
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window at $X,$Y, $WIDTH x $HEIGHT"
((WIDTH >= client_width && HEIGHT > client_height)) || fail "window is $WIDTH x $HEIGHT"
# The client area fills the window's bottom; the menu bar lies above it.
left=$((X + WIDTH - client_width))
top=$((Y + HEIGHT - client_height))
menu_y=$((top - (HEIGHT - client_height) / 2))

screenshot() {
  [[ -n "${QUAVERLINE_SCREENSHOTS:-}" ]] || return 0
  mkdir -p "$QUAVERLINE_SCREENSHOTS"
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >"$QUAVERLINE_SCREENSHOTS/$1.png"
  echo "screenshot $QUAVERLINE_SCREENSHOTS/$1.png"
}

# The first click as soon as the window shows, while the device may still be opening; the same
# clock as Wine's says which came first.
first_click=$(cut -d' ' -f1 /proc/uptime)
play_key "$key_f_x" "$capture" 10 || fail "no tone ended after the click on F"
play_key "$key_a_x" "$capture" 10 || fail "no tone ended after the click on A"
flows=$(sound_log | awk '/sound flows/ { print $1; exit }')
[[ -n $flows ]] || fail "the sound log names no device that opened: $(sound_log)"
if awk -v c="$first_click" -v f="$flows" 'BEGIN { exit !(c < f) }'; then
  echo "the first click came while the device opened (click $first_click s, sound flowed $flows s)"
else
  echo "the device had opened before the first click (sound flowed $flows s, click $first_click s)"
fi
screenshot quaverline-wine-en

shown_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
more_windows_than() { (($(shown_windows) > $1)); }
windows_before=$(shown_windows)
click_at $((left + list_x)) $((top + list_y)) 3
wait_for 5 more_windows_than "$windows_before" || fail "the list's context menu did not open"
xdotool key --delay 50 Down Down Return

printf '%s' "$expected_text" >"$work/expected.txt"
clipboard_exe="$win_build/tests/clipboard_bytes.exe"
read_clipboard() { w wine "$clipboard_exe" "$(win_path "$work/clipboard.txt")" 2>/dev/null; }
wait_for 10 read_clipboard || fail "the Windows clipboard holds no text"
echo "clipboard bytes:"
od -c "$work/clipboard.txt"
cmp "$work/expected.txt" "$work/clipboard.txt" || { od -c "$work/expected.txt" >&2; fail "clipboard text differs"; }

# Silent for its idle time (10 s), the device sleeps; the next note wakes it.
wait_for 20 logged "the device sleeps" || fail "the device did not sleep: $(sound_log)"
play_key "$key_f_x" "$capture" 10 || fail "no tone ended after the click on F after the sleep"
logged "the device wakes" || fail "the device did not wake: $(sound_log)"
stop_capture
echo "tones captured through Wine's PulseAudio driver, the last after the sleep:"
"$tone_check" --length-ms 300 --tolerance-ms 1 "$capture" "${periods[0]}" "${periods[1]}" "${periods[0]}" ||
  fail "captured sound differs"

# The server Wine plays through crashes and is back 2 s later; the device's tries to open afresh
# pause longer and longer meanwhile, so the next comes about a second after the server. Through
# Wine's PulseAudio driver a stream on a freshly started server is not exact at first, a bare
# SDL2 program's neither: a recorder that attaches to the monitor after the stream records holes
# in its first tones, and so does one whose tone starts within 100 ms of the open. So the
# recorder starts first, and the note comes once the new device has played for 300 ms.
flowed_before=$(logged_count "sound flows")
stop_server KILL
sleep 2
start_server
capture=$work/restart.raw
start_capture "$capture"
more_flowed() { (($(logged_count "sound flows") > flowed_before)); }
wait_for 15 more_flowed || fail "no device opened after the server's restart: $(sound_log)"
logged "device lost" || fail "the lost server went unnoticed: $(sound_log)"
sleep 0.3
play_key "$key_f_x" "$capture" 10 || fail "no tone ended after the click on F after the restart"
stop_capture
echo "sound log:"
sound_log | sed 's/^/  /'
echo "the tone after the server's restart:"
"$tone_check" --length-ms 300 --tolerance-ms 1 "$capture" "${periods[0]}" || fail "captured sound differs"

if [[ -n "${QUAVERLINE_SCREENSHOTS:-}" ]]; then
  # "Language" is the menu bar's second item, 66 pixels in; "Deutsch" its second entry.
  click_at $((left + 66)) "$menu_y"
  sleep 1
  xdotool key --delay 50 Down Down Return
  sleep 1
  screenshot quaverline-wine-de
fi

# "End" is the menu bar's first item.
end_program "$menu_y" 10 "$work/program.log"

echo "== silent uninstall"
w wine "$installed/uninstall.exe" /S >"$work/uninstall.log" 2>&1 || true
gone() { [[ ! -e "$installed/quaverline.exe" && ! -e "$start_menu/Quaverline.lnk" ]]; }
wait_for 30 gone || fail "the uninstaller left the program or its Start-menu entry"
((unit_failed == 0)) || fail "unit tests failed under Wine (see above); the end-to-end run passed"
echo "PASS"
