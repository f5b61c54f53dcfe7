#!/usr/bin/env bash
# Runs every libFuzzer harness for a bounded time, seeded from fuzz/seeds and
# the shared real-world corpus. Exits non-zero on the first finding and
# prints the input that caused it.
#
#   bash fuzz/run_fuzzers.sh BUILD_DIR [SECONDS_PER_HARNESS]
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:?build directory of a SKEDLIN_FUZZ=ON build}"
seconds="${2:-60}"
corpus="$root/../shared/corpus"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# harness -> extra seed folders (and file patterns) from the shared corpus
declare -A extra=(
  [fuzz_package_builder]="$root/examples/conference/*.xml $root/tests/data/*/*.xml"
  [fuzz_editor_reader]="$root/examples/conference/*.xml $root/tests/data/*/*.xml"
  [fuzz_bmp]="$corpus/bmp/bmpsuite/b/*.bmp $corpus/bmp/bmpsuite/q/*.bmp $corpus/bmp/bmpsuite/g/pal*.bmp"
  [fuzz_pocketpc]=""
  [fuzz_import_dba]=""
  [fuzz_import_vcs]="$corpus/vcs/*.vcs"
  [fuzz_import_vcf]="$corpus/vcf/*.vcf"
  [fuzz_import_csv]="$corpus/csv/*.csv $corpus/csv/csv-spectrum/*.csv"
  [fuzz_import_ics]="$corpus/ics/gammu-rrule.ics $corpus/ics/biweekly-outlook-2010.ics $corpus/ics/drupal-date-rrule.ics"
  [fuzz_import_vcard3]="$corpus/vcf/*.vcf"
  [fuzz_inf]=""
  [fuzz_viewer_core]=""
  [fuzz_package_report]=""
)

# harness -> dictionary of the format's keywords (fuzz/dictionaries)
declare -A dictionary=(
  [fuzz_package_builder]=package.dict
  [fuzz_editor_reader]=package.dict
  [fuzz_import_vcs]=vcalendar.dict
  [fuzz_import_vcf]=vcard.dict
  [fuzz_import_csv]=csv.dict
  [fuzz_import_ics]=icalendar.dict
  [fuzz_import_vcard3]=vcard.dict
  [fuzz_inf]=inf.dict
)

failed=0
for harness in $(printf '%s\n' "${!extra[@]}" | sort); do
  exe="$build/fuzz/$harness"
  [[ -x "$exe" ]] || { echo "missing harness: $exe" >&2; failed=1; continue; }
  seeds="$work/$harness"
  mkdir -p "$seeds" "$work/artifacts-$harness"
  cp "$root/fuzz/seeds/${harness#fuzz_}/"* "$seeds/" 2>/dev/null || true
  for pattern in ${extra[$harness]}; do cp $pattern "$seeds/" 2>/dev/null || true; done
  options=()
  [[ -n "${dictionary[$harness]:-}" ]] && options+=("-dict=$root/fuzz/dictionaries/${dictionary[$harness]}")
  echo "== $harness: ${seconds}s from $(ls "$seeds" | wc -l) seeds"
  if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0" \
      "$exe" "${options[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$work/artifacts-$harness/" -print_final_stats=1 "$seeds" > "$work/$harness.log" 2>&1; then
    echo "FINDING in $harness:" >&2
    tail -60 "$work/$harness.log" >&2
    for artifact in "$work/artifacts-$harness"/*; do
      [[ -f "$artifact" ]] && { echo "input: $artifact"; od -A x -t x1z "$artifact" | head -20; }
    done
    failed=1
  else
    grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec' "$work/$harness.log" | sed 's/^/   /'
  fi
done
exit $failed
