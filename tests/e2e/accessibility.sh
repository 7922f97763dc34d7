#!/usr/bin/env bash
# Quaverline as a screen reader sees it: on its own X server and a private D-Bus session bus with
# the AT-SPI registry, reads the accessibility tree with pyatspi and checks the 24 keys (push
# buttons with a press action, named by what the picture prints on them and their octave), the
# fields' and the list's names, in English and after switching to German; presses key F through
# its action and reads the new line back from the list; follows the focused key as Tab and the
# arrow keys move it.
#   accessibility.sh <quaverline> [<dump folder>]
# With a dump folder, the trees are written there as tree_en.txt and tree_de.txt.
set -euo pipefail

prog=$1
dumps=${2:-}
here=$(dirname "$0")
. "$here/lib.sh"

start_xvfb
start_accessibility_bus

start_program "$work/program.log" env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 SDL_AUDIODRIVER=dummy "$prog"

# The Debian package puts pyatspi in the system Python.
tree=(/usr/bin/python3 "$here/atspi_tree.py")
"${tree[@]}" check english
[[ -z $dumps ]] || "${tree[@]}" dump "$dumps/tree_en.txt"
lines=$("${tree[@]}" press "F, lower octave")
[[ $lines == "Sound Portb.0 , 150 , 349" ]] || fail "after pressing F the list reads: $lines"
echo "key F pressed through AT-SPI; the list reads: $lines"

# The focus, from the list to the piano and one key up.
xdotool windowfocus --sync "$window"
xdotool key --delay 60 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Right
focus_on() { [[ $("${tree[@]}" focused english) == "$1" ]]; }
wait_for 5 focus_on "Cis Des (C sharp, D flat), lower octave" ||
  fail "focused key: '$("${tree[@]}" focused english)'"
echo "focused key after Tab and Right: Cis Des (C sharp, D flat), lower octave"

"${tree[@]}" menu German
"${tree[@]}" check german
[[ -z $dumps ]] || "${tree[@]}" dump "$dumps/tree_de.txt"
echo "PASS"
