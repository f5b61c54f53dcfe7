#!/usr/bin/env bash
# run_copy.sh TOOLS BUILDER PACKAGE_XML RECORDS_TOOL EXPECTED_PREFIX OUTDIR
# Copies a package that must be taken whole (navigation "none") to the
# handheld on the Palm OS runtime, onto an Address Book that already holds
# one contact: Copy on the welcome screen, Copy on the copy screen, the
# alert saying what was copied; then Copy once more, which asks first, and
# Cancel. The Date Book and Address Book records are then read back from the
# runtime's storage with our own decoder (RECORDS_TOOL) and must be
# EXPECTED_PREFIX.datebook.txt and, after the contact that was there,
# EXPECTED_PREFIX.address.txt.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/runtime_support.sh"
tools=$1 builder=$2 xml=$3 records=$4 expected=$5 out=$6
need_runtime "$tools"
fresh_dir "$out"
build_prc "$builder" "$xml" "$out/CopyTest"
"$records" --make-address-book "$out/AddressDB.pdb" || { echo "FAILED: cannot write AddressDB.pdb"; exit 1; }

run "$out" --install "$out/CopyTest.prc" --install "$out/AddressDB.pdb" --app CopyTest --trace SKL0 --traps-only \
  --sleep "$(settle 3)" --screenshot "$out/1-welcome.png" \
  --tap 60,152 --sleep "$(settle 1)" --screenshot "$out/2-copy-choice.png" \
  --tap 15,152 --sleep "$(settle 2)" --screenshot "$out/3-copied-alert.png" \
  --tap 25,146 --sleep "$(settle 1)" --screenshot "$out/4-copied.png" \
  --tap 15,152 --sleep "$(settle 1)" \
  --tap 60,152 --sleep "$(settle 1)" \
  --tap 15,152 --sleep "$(settle 1)" --screenshot "$out/5-copy-again-alert.png" \
  --tap 70,146 --sleep "$(settle 1)" --screenshot "$out/6-not-copied-again.png" \
  --stop-after 1
expect_clean_exit "$out"
expect_trace "$out" \
  'FrmSetTitle(' 'Copy to Handheld' \
  'DmCreateDatabase(0, "Skedlin DatebookDB", ' 'DmNewRecord(' 'DmWrite(' 'DmReleaseRecord(' \
  'DmSetDatabaseInfo(' \
  'FrmCustomAlert(1102, "4 events", "2 contacts"' \
  'FrmAlert(1101)' \
  'SysAppExit('
if grep -a 'DmRemoveRecord\|DmDeleteRecord' "$out/trace.txt" | grep -q .; then
  echo "FAILED: the copy removed a record"
  exit 1
fi
expect_screenshots "$out" 1-welcome 2-copy-choice 3-copied-alert 4-copied 5-copy-again-alert 6-not-copied-again

status=0
"$records" "$out/run/vfs" DatebookDB >"$out/datebook.txt" || status=1
"$records" "$out/run/vfs" AddressDB >"$out/address.txt" || status=1
{ echo 'contact last="Existing" first="Person" home="555 0100"'; cat "$expected.address.txt"; } >"$out/address.expected.txt"
diff -u "$expected.datebook.txt" "$out/datebook.txt" || status=1
diff -u "$out/address.expected.txt" "$out/address.txt" || status=1
if [ $status -ne 0 ]; then
  echo "FAILED: the records on the handheld are not those of the package (copied once)"
  exit 1
fi
echo "copy: every entry copied once, with dates, times, repeats, exceptions, notes, names and phones"
