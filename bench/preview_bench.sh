#!/usr/bin/env bash
# Times `SkedlinTool preview --out-dir` (every screen of a package to PNG
# files) on a generated package, at both densities, from a built .prc and
# from the package .xml (which adds the builder's run).
#
#   bash bench/preview_bench.sh [BUILD_DIR] [EVENTS] [CONTACTS]
#        (defaults: build, 5800 events, 999 contacts; RUNS=n runs each, default 3)
#
# Not a test: nothing here fails on a number. The best wall and CPU times of
# the runs are printed with the number of screens written.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
events=${2:-5800} contacts=${3:-999}
runs="${RUNS:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$build/bin/generate_package" --events "$events" --contacts "$contacts" --groups 12 --seed 7 "$work/Bench.xml" >/dev/null
"$build/bin/SkedlinBuilder" "$work/Bench.xml" "$work/Bench" /PALM >/dev/null

# measure LABEL ARGS...: the best wall and CPU seconds of RUNS runs of SkedlinTool preview ARGS.
measure() {
  local label=$1 best="" bestCpu="" screens=""
  shift
  for ((run = 0; run < runs; ++run)); do
    rm -rf "$work/screens"
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$build/bin/SkedlinTool" preview "$@" --out-dir "$work/screens" >"$work/out"
    read -r secs user system < <(tail -n 1 "$work/time")
    local cpu; cpu=$(awk "BEGIN{print $user + $system}")
    if [[ -z "$best" ]] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; fi
    if [[ -z "$bestCpu" ]] || awk "BEGIN{exit !($cpu < $bestCpu)}"; then bestCpu=$cpu; fi
    screens=$(find "$work/screens" -name '*.png' | wc -l)
  done
  printf '  %-34s %7ss wall %7ss cpu  %6s screens\n' "$label" "$best" "$bestCpu" "$screens"
}

echo "SkedlinTool preview --out-dir, $events events, $contacts contacts, best of $runs:"
measure ".prc, density 1" "$work/Bench.prc"
measure ".prc, density 2" "$work/Bench.prc" --density 2
measure ".xml (built first), density 1" "$work/Bench.xml"
