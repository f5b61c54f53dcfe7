#!/usr/bin/env bash
# run_template.sh TOOLS PRC OUTDIR
# Runs the Palm viewer template as it is built, with no package in it: it
# must start, say in an alert that there is no package to show, and end
# cleanly when the alert is closed.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/runtime_support.sh"
tools=$1 prc=$2 out=$3
need_runtime "$tools"
fresh_dir "$out"
run "$out" --install "$prc" --app Skedlin --trace SKL0 --traps-only \
  --sleep "$(settle 1)" --screenshot "$out/template-alert.png" --tap 25,146 --stop-after "$(settle 5)"
expect_clean_exit "$out"
expect_trace "$out" 'SysAppStartup(' 'SysAppStartup(' 'DmFindResource(' 'FrmCustomAlert(1100, ' 'SysAppExit('
echo "template: clean start, alert, clean exit"
