#!/usr/bin/env bash
# Times whole commands on generated packages, side by side with
# `xmllint --valid --noout` on the same file (the cost of merely reading and
# validating it with the same parser), and prints ratios and peak memory.
#
#   bash bench/run_bench.sh [BUILD_DIR]     (default: build; RUNS=n sets the runs per command, default 3)
#
# Each command runs RUNS times; the best wall time, the best CPU time (user +
# system, children included: the builder's CAB Wizard run counts) and the
# highest peak resident memory are kept. On a busy machine the CPU ratios are
# the steadier figures.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"  # absolute: the DTD path is written into the packages
bin="$build/bin"
runs="${RUNS:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for tool in "$bin/generate_package" "$bin/SkedlinBuilder" /usr/bin/time xmllint; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done

# measure CMD...: prints "best-wall best-cpu peak-KiB"; stops the script when the command fails
measure() {
  local best="" bestCpu="" peak=0
  for ((run = 0; run < runs; ++run)); do
    if ! /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>"$work/stderr"; then
      echo "failed: $*" >&2; cat "$work/stderr" >&2; return 1
    fi
    read -r secs user system kib < <(tail -n 1 "$work/time")
    local cpu; cpu=$(awk "BEGIN{print $user + $system}")
    if [[ -z "$best" ]] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; fi
    if [[ -z "$bestCpu" ]] || awk "BEGIN{exit !($cpu < $bestCpu)}"; then bestCpu=$cpu; fi
    (( kib > peak )) && peak=$kib
  done
  printf '%s %s %s\n' "$best" "$bestCpu" "$peak"
}

ratio() { awk "BEGIN{ if ($2 > 0) printf \"%.2f\", $1 / $2; else print \"n/a\" }"; }

# line LABEL WALL CPU KIB: one command's figures and its ratios to xmllint's
line() {
  printf '  %-28s %7ss %7ss cpu %8s KiB   wall x%-5s cpu x%-5s memory x%s\n' "$1" "$2" "$3" "$4" \
    "$(ratio "$2" "$xt")" "$(ratio "$3" "$xc")" "$(ratio "$4" "$xm")"
}

report() {
  local name="$1" events="$2" contacts="$3"
  local dir="$work/$name"; mkdir -p "$dir"
  "$bin/generate_package" --events "$events" --contacts "$contacts" --dtd "$bin/CalendarPackage.dtd" "$dir/p.xml"
  local size; size=$(stat -c %s "$dir/p.xml")
  echo "== $name: $events events, $contacts contacts, $((size / 1024)) KiB"
  read -r xt xc xm < <(measure xmllint --valid --noout "$dir/p.xml")
  printf '  %-28s %7ss %7ss cpu %8s KiB\n' "xmllint --valid --noout" "$xt" "$xc" "$xm"
  read -r bt bc bm < <(measure "$bin/SkedlinBuilder" "$dir/p.xml" "$dir/out" /PALM /WINCE)
  line "SkedlinBuilder /PALM /WINCE" "$bt" "$bc" "$bm"
  if [[ -x "$bin/SkedlinTool" ]]; then
    cp "$dir/p.xml" "$dir/q.xml"
    read -r rt rc rm < <(measure "$bin/SkedlinTool" resave "$dir/q.xml" "$dir/r.xml")
    line "SkedlinTool resave" "$rt" "$rc" "$rm"
  fi
  if [[ -x "$bin/SkedlinOpenBench" ]]; then
    read -r ot oc om < <(measure env QT_QPA_PLATFORM=offscreen "$bin/SkedlinOpenBench" "$dir/p.xml")
    line "Skedlin open + event list" "$ot" "$oc" "$om"
  fi
  eval "${name}_builder=$bt ${name}_builder_cpu=$bc"
}

report small 5800 100
report large 58000 999
echo "== growth of the builder, large/small (10x the events): wall x$(ratio "$large_builder" "$small_builder")," \
     "cpu x$(ratio "$large_builder_cpu" "$small_builder_cpu")"
