#!/usr/bin/env bash
# Builds everything, then makes the Debian package build/skedlin_<version>_<arch>.deb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/build.sh"
cd "$root/build"
cpack -G DEB >/dev/null
echo
echo "Debian package: $(ls "$root"/build/skedlin_*.deb)"
