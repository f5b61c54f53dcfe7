#!/usr/bin/env bash
# Times whole commands on generated packages, side by side with
# `xmllint --valid --noout` on the same file (the cost of merely reading and
# validating it with the same parser), and prints ratios and peak memory.
#
#   bash bench/run_bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"  # absolute: the DTD path is written into the packages
bin="$build/bin"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for tool in "$bin/generate_package" "$bin/SkedlinBuilder" /usr/bin/time xmllint; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done

# measure LABEL CMD...: best wall time of three runs (seconds) and peak RSS (KiB)
measure() {
  local label="$1"; shift
  local best="" peak=0
  for _ in 1 2 3; do
    if ! /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/stderr"; then
      echo "failed: $*" >&2; cat "$work/stderr" >&2; exit 1
    fi
    read -r secs kib < <(tail -n 1 "$work/time")
    if [[ -z "$best" ]] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; fi
    (( kib > peak )) && peak=$kib
  done
  printf '%s %s %s\n' "$label" "$best" "$peak"
}

ratio() { awk "BEGIN{ if ($2 > 0) printf \"%.2f\", $1 / $2; else print \"n/a\" }"; }

report() {
  local name="$1" events="$2" contacts="$3"
  local dir="$work/$name"; mkdir -p "$dir"
  "$bin/generate_package" --events "$events" --contacts "$contacts" --dtd "$bin/CalendarPackage.dtd" "$dir/p.xml"
  local size; size=$(stat -c %s "$dir/p.xml")
  echo "== $name: $events events, $contacts contacts, $((size / 1024)) KiB"
  read -r _ xt xm < <(measure xmllint xmllint --valid --noout "$dir/p.xml")
  read -r _ bt bm < <(measure builder "$bin/SkedlinBuilder" "$dir/p.xml" "$dir/out" /PALM /WINCE)
  printf '  %-34s %8ss %8s KiB\n' "xmllint --valid --noout" "$xt" "$xm"
  printf '  %-34s %8ss %8s KiB   time x%s  memory x%s\n' "SkedlinBuilder /PALM /WINCE" "$bt" "$bm" "$(ratio "$bt" "$xt")" "$(ratio "$bm" "$xm")"
  if [[ -x "$bin/SkedlinTool" ]]; then
    cp "$dir/p.xml" "$dir/q.xml"
    read -r _ rt rm < <(measure resave "$bin/SkedlinTool" resave "$dir/q.xml" "$dir/r.xml")
    printf '  %-34s %8ss %8s KiB   time x%s\n' "SkedlinTool resave" "$rt" "$rm" "$(ratio "$rt" "$xt")"
  fi
  if [[ -x "$bin/SkedlinOpenBench" ]]; then
    read -r _ ot om < <(measure open env QT_QPA_PLATFORM=offscreen "$bin/SkedlinOpenBench" "$dir/p.xml")
    printf '  %-34s %8ss %8s KiB   time x%s\n' "Skedlin open + event list" "$ot" "$om" "$(ratio "$ot" "$xt")"
  fi
  eval "${name}_builder=$bt"
}

report small 5800 100
report large 58000 999
echo "== growth: large/small builder time x$(ratio "$large_builder" "$small_builder") (10x the events)"
