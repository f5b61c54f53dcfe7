#!/usr/bin/env bash
# run_preview_compare.sh TOOLS BUILDER GENERATOR SKEDLINTOOL EXAMPLE_XML OUTDIR
# The preview draws what the handheld draws: the example and a generated
# package are browsed with the pen on the Palm OS runtime (welcome screen,
# groups, a group's events, an event, back, the contacts and their last page,
# a contact and its next page), and SkedlinTool preview takes the same steps
# at the double density.
# The title and every text with its place must be equal on each screen.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/runtime_support.sh"
tools=$1 builder=$2 generator=$3 tool=$4 example=$5 out=$6
need_runtime "$tools"
fresh_dir "$out"

# The pen's path through a package, the same on both sides.
steps=("--tap 20,152" "--tap 40,22" "--tap 60,49" "--tap 15,152" "--tap 65,23" "--key down" "--key down" "--tap 40,37"
       "--key down")

compare() {
  local name=$1 prc=$2 dir=$out/$1
  mkdir -p "$dir"
  local app
  app=$(head -c 32 "$prc" | tr -d '\0')
  local runtime_actions=() step
  for step in "${steps[@]}"; do
    set -- $step
    if [ "$1" = --key ]; then runtime_actions+=(--press Down); else runtime_actions+=("$1" "$2"); fi
    runtime_actions+=(--sleep 0.3)
  done
  RUN_TIMEOUT=60 run "$dir" --install "$prc" --app "$app" --trace SKL0 --traps-only \
    --sleep 1 "${runtime_actions[@]}" --stop-after 10
  expect_clean_exit "$dir"
  grep -a 'logtrap:' "$dir/run/pumpkin.log" >"$dir/trace.txt"

  # The preview: the welcome screen, then each step taken after the ones before.
  local texts=() taken=() i=0
  "$tool" preview "$prc" --density 2 --out "$dir/preview-0.png" --texts "$dir/preview-0.txt" ||
    { echo "FAILED: SkedlinTool preview on $prc"; exit 1; }
  texts+=("$dir/preview-0.txt")
  for step in "${steps[@]}"; do
    i=$((i + 1))
    taken+=($step)
    "$tool" preview "$prc" --density 2 "${taken[@]}" --out "$dir/preview-$i.png" --texts "$dir/preview-$i.txt" ||
      { echo "FAILED: SkedlinTool preview on $prc after ${taken[*]}"; exit 1; }
    texts+=("$dir/preview-$i.txt")
  done
  echo "== $name"
  python3 "$here/compare_preview_trace.py" "$dir/trace.txt" "${texts[@]}" || exit 1
}

build_prc "$builder" "$example" "$out/Conference"
compare example "$out/Conference.prc"

"$generator" --events 60 --contacts 40 --groups 3 --seed 11 "$out/Generated.xml" >/dev/null ||
  { echo "FAILED: cannot generate the package"; exit 1; }
build_prc "$builder" "$out/Generated.xml" "$out/Generated"
compare generated "$out/Generated.prc"
echo "preview: every screen's texts and places equal the handheld's"
