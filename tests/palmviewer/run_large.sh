#!/usr/bin/env bash
# run_large.sh TOOLS BUILDER GENERATOR OUTDIR
# A generated package of 5,800 events and 999 contacts: the viewer starts,
# shows the welcome screen, a group's event list and two pages further down
# it with the page-down key, and ends cleanly. Opening a group reads every
# record of the package once (tens of thousands of system calls, slow on the
# runtime), so this run is given minutes and no system-call trace.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/runtime_support.sh"
tools=$1 builder=$2 generator=$3 out=$4
need_runtime "$tools"
fresh_dir "$out"
"$generator" --events 5800 --contacts 999 --groups 12 --seed 7 "$out/Large.xml" >/dev/null ||
  { echo "FAILED: cannot generate the package"; exit 1; }
build_prc "$builder" "$out/Large.xml" "$out/Large"
app=$(head -c 32 "$out/Large.prc" | tr -d '\0')

RUN_TIMEOUT=600 run "$out" --install "$out/Large.prc" --app "$app" \
  --sleep "$(settle 4)" --screenshot "$out/1-welcome.png" \
  --tap 20,152 --sleep "$(settle 2)" --screenshot "$out/2-groups.png" \
  --tap 40,22 --sleep "$(settle 10)" --screenshot "$out/3-events.png" \
  --press Down --sleep "$(settle 2)" --press Down --sleep "$(settle 3)" --screenshot "$out/4-events-page-3.png" \
  --stop-after 1
expect_clean_exit "$out"
expect_screenshots "$out" 1-welcome 2-groups 3-events 4-events-page-3
echo "large package: started, browsed and paged, clean exit"
