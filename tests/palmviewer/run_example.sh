#!/usr/bin/env bash
# run_example.sh TOOLS BUILDER EXAMPLE_XML OUTDIR
# Builds the example package for Palm OS and browses it on the Palm OS
# runtime with the pen: welcome screen, groups, a group's events, one event,
# back, the group's contacts, one contact and, with the down button, the rest
# of it; back to the welcome screen; then
# the user leaves. Checks the texts drawn on each screen (system-call trace),
# keeps a screenshot of each screen in OUTDIR, and a clean exit.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/runtime_support.sh"
tools=$1 builder=$2 xml=$3 out=$4
need_runtime "$tools"
fresh_dir "$out"
build_prc "$builder" "$xml" "$out/Conference"

run "$out" --install "$out/Conference.prc" --app MobileData2026 --trace SKL0 --traps-only \
  --sleep "$(settle 3)" --screenshot "$out/1-welcome.png" \
  --tap 20,152 --sleep "$(settle 1)" --screenshot "$out/2-groups.png" \
  --tap 40,22 --sleep "$(settle 1)" --screenshot "$out/3-events.png" \
  --tap 60,49 --sleep "$(settle 1)" --screenshot "$out/4-event.png" \
  --tap 15,152 --sleep "$(settle 1)" \
  --tap 65,23 --sleep "$(settle 1)" --screenshot "$out/5-contacts.png" \
  --tap 40,37 --sleep "$(settle 1)" --screenshot "$out/6-contact.png" \
  --press Down --sleep "$(settle 1)" --screenshot "$out/7-contact-note.png" \
  --tap 15,152 --sleep "$(settle 0.5)" --tap 15,152 --sleep "$(settle 0.5)" --tap 15,152 \
  --sleep "$(settle 1)" --screenshot "$out/8-welcome-again.png" \
  --stop-after 1
expect_clean_exit "$out"
expect_trace "$out" \
  'SysAppStartup(' \
  'FrmSetTitle(' 'Mobile Data Conference 2026' \
  'WinDrawBitmap(' 'WinDrawChars("Welcome to the Mobile Data Conference 2026!' 'WinDrawChars("Browse' \
  'WinDrawChars("Keynotes & Plenary' 'WinDrawChars("Opening, keynotes and the closin' \
  'WinDrawChars("Track B: User Experience' \
  'FrmSetTitle(' 'Keynotes & Plenary' 'WinDrawChars("Thursday, 14 May 2026' \
  'WinDrawChars("9:00 am' 'WinDrawChars("Opening and welcome' \
  'FrmSetTitle(' '"Event")' 'WinDrawChars("Opening and welcome' 'WinDrawChars("9:00 am - 9:20 am' \
  'WinDrawChars("Main Hall. Siobhan Brennan,' \
  'WinDrawChars("Achebe, Ngozi' 'WinDrawChars("Brennan, Siobhan' \
  'FrmSetTitle(' '"Contact")' 'WinDrawChars("Head of Research' 'WinDrawChars("Work: +234 1 555 0142' \
  'WinDrawChars("n.achebe@lagosdatalab.example' 'keyDownEvent' 'WinDrawChars("Keynote speaker.' \
  'SysAppExit('
expect_screenshots "$out" 1-welcome 2-groups 3-events 4-event 5-contacts 6-contact 7-contact-note 8-welcome-again
echo "example: every screen drawn, browsed with the pen, clean exit"
