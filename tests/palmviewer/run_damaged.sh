#!/usr/bin/env bash
# run_damaged.sh TOOLS BUILDER EXAMPLE_XML DAMAGE_TOOL OUTDIR
# A package whose second event record is cut to 3 bytes: browsing to the
# group that holds it, the viewer shows an alert naming the damage, leaves
# when it is closed, and writes nothing (no database created, no record
# written, no preference saved).
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/runtime_support.sh"
tools=$1 builder=$2 xml=$3 damage=$4 out=$5
need_runtime "$tools"
fresh_dir "$out"
build_prc "$builder" "$xml" "$out/Conference"
"$damage" "$out/Conference.prc" "$out/Damaged.prc" Nevt 7001 3 || { echo "FAILED: cannot damage the package"; exit 1; }

run "$out" --install "$out/Damaged.prc" --app MobileData2026 --trace SKL0 --traps-only \
  --sleep "$(settle 3)" --tap 20,152 --sleep "$(settle 1)" --tap 40,22 \
  --sleep "$(settle 2)" --screenshot "$out/1-damaged-alert.png" \
  --tap 25,146 --sleep "$(settle 1)" --stop-after "$(settle 8)"
expect_clean_exit "$out"
expect_trace "$out" 'SysAppStartup(' 'FrmCustomAlert(1100, ' 'Nevt 7001' 'SysAppExit('
if grep -a 'DmCreateDatabase\|DmNewRecord\|DmWrite\|PrefSetAppPreferences' "$out/trace.txt" | grep -q .; then
  echo "FAILED: the viewer wrote something or went on after the damage"
  grep -a 'DmCreateDatabase\|DmNewRecord\|DmWrite\|PrefSetAppPreferences' "$out/trace.txt" | head -5
  exit 1
fi
[ -s "$out/1-damaged-alert.png" ] || { echo "FAILED: no screenshot of the alert"; exit 1; }
echo "damaged package: alert, back to the launcher, nothing written"
