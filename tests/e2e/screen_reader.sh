#!/usr/bin/env bash
# What Orca, the Linux desktop's screen reader, says as a blind user goes through the window with
# the keyboard. Orca runs on the test's own X server and a private session bus with the AT-SPI
# registry, as a desktop starts it; its debug log records every utterance ("SPEECH OUTPUT: '...'"),
# with or without a speech engine. Keys are pressed with xdotool only, in one pass, in English and
# then in German:
#   - Shift+Tab from the list into the piano says the focused key, and so does Where Am I;
#   - End, Home and the arrows say the key they move to;
#   - Space or Return on a key says the line it added;
#   - Tab into the list says its current line; the Menu key says the menu's first command;
#   - "copy list to clipboard" says how many lines were copied;
#   - Tab onto the option pair says the group and the selected option.
# Every check is made once; the transcript (keys, then what Orca said) is printed at the end.
#   screen_reader.sh <quaverline> [<transcript file>]
set -euo pipefail

prog=$1
transcript_copy=${2:-}
here=$(dirname "$0")
. "$here/lib.sh"

start_xvfb
start_accessibility_bus
# Orca's settings and speech-dispatcher's files stay in the test's own home.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
  XDG_RUNTIME_DIR=$work/run
mkdir -p -m 700 "$HOME" "$XDG_RUNTIME_DIR"
orca_log=$work/orca.log
# Orca buffers its debug file, but writes a terminal line by line: it gets a pseudo-terminal whose
# every line is copied to the log at once.
python3 -c 'import os, sys, tty
master, slave = os.openpty()
tty.setraw(slave)
print(os.ttyname(slave), flush=True)
with open(sys.argv[1], "ab", buffering=0) as log:
    while True:
        log.write(os.read(master, 65536))' "$orca_log" >"$work/orca_tty" &
started $!
wait_for 10 test -s "$work/orca_tty" || fail "no terminal for Orca's log"
orca --replace --debug-file="$(head -n1 "$work/orca_tty")" >"$work/orca.out" 2>&1 &
started $!
wait_for 30 grep -q "SPEECH OUTPUT: 'Screen reader on" "$orca_log" 2>/dev/null || { cat "$work/orca.out" >&2; tail -20 "$orca_log" >&2; fail "Orca did not start"; }

# No variable turns the window's accessibility on: Qt does so itself for a running screen reader.
start_program "$work/program.log" env SDL_AUDIODRIVER=dummy "$prog"
xdotool windowfocus --sync "$window"

# spoken: every utterance so far, one per line.
spoken() { sed -nE "s/.*SPEECH OUTPUT: '(.*)' ?\{.*/\1/p" "$orca_log"; }
transcript=$work/transcript.txt
failures=0
checks=0

# press <patterns> <keys>...: presses the keys and waits up to 15 s until Orca has said something
# matching each of the patterns (extended regular expressions, separated by "|||"), in that order.
press() {
  local patterns=$1 before
  shift
  before=$(spoken | wc -l)
  xdotool key --delay 150 "$@"
  said_in_order() {
    local pattern rest=$patterns heard
    heard=$(spoken | tail -n +$((before + 1)))
    while [[ -n $rest ]]; do
      pattern=${rest%%|||*}
      [[ $rest == *"|||"* ]] && rest=${rest#*|||} || rest=
      heard=$(grep -m1 -A1000 -E "$pattern" <<<"$heard" | tail -n +2) || return 1
      [[ -n $heard || -z $rest ]] || return 1
    done
  }
  checks=$((checks + 1))
  local verdict=ok
  wait_for 15 said_in_order || { verdict="FAIL, expected: ${patterns//|||/ then }"; failures=$((failures + 1)); }
  sleep 0.5  # what the keys still make Orca say
  echo "$* -> $(spoken | tail -n +$((before + 1)) | sed 's/^/"/; s/$/"/' | paste -sd' ')  [$verdict]" | tee -a "$transcript"
}

# The focus starts in the empty code list.
echo "== English"
press "^C, lower octave" shift+Tab
press "^C, lower octave" KP_Enter
press "^(notification )?Sound Portb\.0 , 150 , 261" space
press "^H \(B\), upper octave" End
press "^C, lower octave" Home
press "^Cis Des \(C sharp, D flat\), lower octave|||^D, lower octave" Right Right
press "^(notification )?Sound Portb\.0 , 150 , 293" Return
press "^Sound Portb\.0 , 150 , 261" Tab
press "^Duration" Menu
press "2 lines copied to the clipboard" Down Return
press "Notes|||^add notes to the list" Tab Tab Tab Tab Tab Tab Tab Tab Tab

echo "== German"
# Alt opens the menu bar on "End"; "Language", then its second entry, "German".
press "^Deutsch|German" alt Right Down Down
press "Noten|||^Noten zur Liste hinzufügen" Return
press "^D, untere Oktave" Tab Tab
press "^(notification )?Sound Portb\.0 , 150 , 293" space
press "^Code-Liste|||^Sound Portb\.0 , 150 , 261" Tab
press "^Intervall bearbeiten" Menu
press "3 Zeilen in die Zwischenablage kopiert" Down Return

[[ -z $transcript_copy ]] || cp "$transcript" "$transcript_copy"
((failures == 0)) || fail "$failures of $checks checks failed"
echo "PASS: $checks checks"
