#!/usr/bin/env bash
# Counts the 68k instructions the Palm OS viewer executes on the Palm OS
# runtime (its instruction trace), and its dynamic heap use, on a generated
# package:
#   - launch to the first screen: from the normal launch's SysAppStartup to
#     the first wait for an event after the welcome screen is drawn;
#   - one page of a group's event list: from the page-down key to the next
#     wait for an event, for each of PAGES pages (the largest is reported);
#   - heap: the blocks the viewer allocates (MemPtrNew) and keeps.
#
#   bash bench/palm_viewer_bench.sh [BUILD_DIR] [EVENTS] [CONTACTS] [PAGES]
#        (defaults: build, 5800 events, 999 contacts, 3 pages)
#
# Not a test: nothing here fails on a number. The trace logs every
# instruction (about 100 bytes each), so a run takes minutes.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
events=${2:-5800} contacts=${3:-999} pages=${4:-3}
tools="$root/../shared/tools/palmos"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$build/bin/generate_package" --events "$events" --contacts "$contacts" --groups 12 --seed 7 "$work/Bench.xml" >/dev/null
"$build/bin/SkedlinBuilder" "$work/Bench.xml" "$work/Bench" /PALM >/dev/null
app=$(head -c 32 "$work/Bench.prc" | tr -d '\0')
records=$((events + contacts))

actions=(--sleep 20 --tap 20,152 --sleep 20 --tap 40,22 --sleep 40)
for ((i = 0; i < pages; ++i)); do actions+=(--press Down --sleep 20); done
DISPLAY= "$tools/run-prc.sh" --install "$work/Bench.prc" --app "$app" --trace SKL0 --keep "$work/run" \
  --timeout 3600 "${actions[@]}" --stop-after $((100 + 20 * pages)) >"$work/report.txt" 2>&1 || true
tail -1 "$work/report.txt"

grep -a 'logtrap: ' "$work/run/pumpkin.log" | awk -v records="$records" -v pages="$pages" '
  function instruction(line) { return line ~ /logtrap: [0-9A-F]+: [0-9a-f][0-9a-f][0-9a-f][0-9a-f] / && line !~ /trap 0x/ }
  /trap 0xA08F/ && /\.\.\.$/ { startups++; if (startups == 2) { counting = 1; n = 0 } next }
  /trap 0xA171/ && /\.\.\.$/ { if (phase == 0) drawn = 1 }
  /trap 0xA11D/ && /\.\.\.$/ {
    if (counting && drawn && phase == 0) { launch = n; phase = 1; counting = 0 }
    if (paging) { if (n > worst) worst = n; page[++pagesSeen] = n; paging = 0 }
    next
  }
  /trap 0xA11D/ && /keyDownEvent/ && !/\.\.\.$/ { if (keys++ < pages) { paging = 1; n = 0 } next }
  /trap 0xA013/ && !/\.\.\.$/ { if (match($0, /MemPtrNew\([0-9]+\)/)) heap += substr($0, RSTART + 10, RLENGTH - 11) }
  /trap 0xA012/ && !/\.\.\.$/ { frees++ }
  { if ((counting || paging) && instruction($0)) n++ }
  END {
    printf "package: %d events + contacts\n", records
    printf "launch to first screen: %d instructions\n", launch
    for (i = 1; i <= pagesSeen; ++i) printf "page %d of the event list: %d instructions\n", i, page[i]
    printf "largest page: %d instructions\n", worst
    printf "heap: %d bytes allocated by the viewer (limit 32 KB + 2 per record = %d)\n", heap, 32768 + 2 * records
  }'
