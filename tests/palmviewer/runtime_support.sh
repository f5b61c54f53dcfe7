# Shared steps of the tests that run the Palm viewer on the Palm OS runtime.
# Sourced by the run_*.sh scripts; every check prints what it expected and
# exits 1 on a mismatch.

# need_runtime TOOLS: builds the runtime if needed; exit 77 (skipped) when it
# cannot be built here.
need_runtime() {
  local tools=$1
  if [ ! -x "$tools/run-prc.sh" ]; then
    echo "SKIPPED: the Palm OS runtime tools are not at $tools"
    exit 77
  fi
  if ! runtime_dir=$("$tools/build.sh" 2>"${TMPDIR:-/tmp}/palmviewer-build.$$.log" | tail -1) ||
     [ ! -x "$runtime_dir/pumpkin" ]; then
    echo "SKIPPED: the Palm OS runtime cannot be built on this machine:"
    tail -5 "${TMPDIR:-/tmp}/palmviewer-build.$$.log"
    rm -f "${TMPDIR:-/tmp}/palmviewer-build.$$.log"
    exit 77
  fi
  rm -f "${TMPDIR:-/tmp}/palmviewer-build.$$.log"
  if ! command -v xdotool >/dev/null || ! command -v Xvfb >/dev/null; then
    echo "SKIPPED: the runtime's display runs need xdotool and Xvfb"
    exit 77
  fi
  TOOLS=$tools
}

# fresh_dir DIR: an empty folder for one test's output (screenshots, logs).
fresh_dir() {
  rm -rf "$1"
  mkdir -p "$1"
}

# run OUT ARGS...: one run of run-prc.sh on a private display (at most
# RUN_TIMEOUT seconds, default 180); its report is kept in OUT/report.txt and
# its work folder in OUT/run.
run() {
  local out=$1
  shift
  DISPLAY= "$TOOLS/run-prc.sh" --keep "$out/run" --timeout "${RUN_TIMEOUT:-180}" "$@" >"$out/report.txt" 2>&1
  cat "$out/report.txt"
}

expect_clean_exit() {
  if ! tail -1 "$1/report.txt" | grep -q 'VERDICT: CLEAN EXIT'; then
    echo "FAILED: expected a clean exit"
    grep -a ' E \|panic\|Fatal' "$1/run/pumpkin.log" | tail -20
    exit 1
  fi
}

# expect_trace OUT TEXT...: each text appears in the system-call trace, in
# the order given.
expect_trace() {
  local out=$1
  shift
  local trace="$out/trace.txt"
  grep -a 'logtrap:' "$out/run/pumpkin.log" >"$trace"
  local from=1 text line
  for text in "$@"; do
    line=$(tail -n +"$from" "$trace" | grep -anF -- "$text" | head -1 | cut -d: -f1)
    if [ -z "$line" ]; then
      echo "FAILED: the trace (from line $from) does not show: $text"
      exit 1
    fi
    from=$((from + line))
  done
}

# Seconds to wait after launching and after each tap before a screenshot.
# The runtime draws slowly when the machine is busy; PALMVIEWER_PACE
# (seconds, default 3) scales every wait.
PACE=${PALMVIEWER_PACE:-3}
settle() { awk -v p="$PACE" -v f="$1" 'BEGIN { printf "%g", p * f }'; }

# build_prc BUILDER XML OUTBASE: the package for Palm OS, OUTBASE.prc.
build_prc() {
  if ! "$1" "$2" "$3" /PALM >"$3.builder.txt" 2>&1; then
    echo "FAILED: the builder did not build $2:"
    cat "$3.builder.txt"
    exit 1
  fi
}

# expect_screenshots OUT NAME...: each screenshot was taken and shows more
# than a blank screen, and they show at least three different pictures (a
# busy machine may take one a step late, so two in a row may be the same).
expect_screenshots() {
  local out=$1 name
  shift
  for name in "$@"; do
    if [ ! -s "$out/$name.png" ] || [ "$(stat -c %s "$out/$name.png")" -lt 600 ]; then
      echo "FAILED: screenshot $name.png is missing or blank"
      exit 1
    fi
  done
  local distinct
  distinct=$(for name in "$@"; do md5sum <"$out/$name.png"; done | sort -u | wc -l)
  if [ "$distinct" -lt 3 ]; then
    echo "FAILED: the screenshots show only $distinct different screens"
    exit 1
  fi
}
