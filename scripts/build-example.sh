#!/usr/bin/env bash
# Builds everything, then builds the example package for both handhelds.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/build.sh"
mkdir -p "$root/out"
"$root/build/bin/SkedlinBuilder" "$root/examples/conference/Conference.xml" "$root/out/Conference" \
  /ERR "$root/out/Conference.err" /PALM /WINCE
echo
echo "Palm OS package:   $root/out/Conference.prc"
echo "Pocket PC package: $root/out/Conference.cab"
