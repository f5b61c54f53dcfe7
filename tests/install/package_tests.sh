#!/usr/bin/env bash
# The Debian package as `cpack -G DEB` makes it from the build folder: its
# dependencies come from the binaries, it has no maintainer scripts, its
# files are laid out as `cmake --install` lays them under /usr, and lintian
# finds no error in it (its warnings are printed).
#
#   package_tests.sh BUILD_FOLDER WITH_EDITOR(ON|OFF)
set -euo pipefail
build="$1" with_editor="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/skedlin_*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || fail "expected one skedlin_*.deb, found: ${debs[*]}"
deb="${debs[0]}"
echo "made $(basename "$deb")"

# Dependencies found in the binaries' dynamic sections.
depends="$(dpkg-deb --field "$deb" Depends)"
echo "Depends: $depends"
libraries=(libc6 libstdc++6 libxml2 libgcab-1.0-0 libqt6core6)
[[ "$with_editor" == ON ]] && libraries+=(libqt6widgets6 libqt6svg6 qt6-qpa-plugins)
names=" $(sed 's/([^)]*)//g; s/[,|]/ /g' <<<"$depends" | tr -s ' ') "
for library in "${libraries[@]}"; do
  [[ "$names" == *" $library "* ]] || fail "Depends lacks $library"
done

# Only the control data dpkg makes itself: caches are the triggers' job.
dpkg-deb --control "$deb" "$work/control"
extra="$(ls "$work/control" | grep -vx -e control -e md5sums || true)"
[[ -z "$extra" ]] || fail "unexpected control files: $extra"

contents="$(dpkg-deb --contents "$deb")"
expect_entry() {  # expect_entry REGEX
  grep -Eq "$1" <<<"$contents" || fail "the package lacks $1"
}
expect_entry ' \./usr/bin/SkedlinBuilder -> \.\./lib/skedlin/SkedlinBuilder$'
expect_entry ' \./usr/bin/SkedlinTool -> \.\./lib/skedlin/SkedlinTool$'
expect_entry '^-rwxr-xr-x .* \./usr/lib/skedlin/cabwiz$'
expect_entry ' \./usr/lib/skedlin/CalendarPackage\.dtd -> \.\./\.\./share/skedlin/CalendarPackage\.dtd$'
expect_entry ' \./usr/share/doc/skedlin/copyright$'
expect_entry ' \./usr/share/doc/skedlin/changelog\.gz$'
expect_entry ' \./usr/share/doc/skedlin/examples/conference/Conference\.xml$'
if [[ "$with_editor" == ON ]]; then
  expect_entry ' \./usr/bin/Skedlin -> \.\./lib/skedlin/Skedlin$'
  expect_entry ' \./usr/share/applications/org\.skedlin\.Skedlin\.desktop$'
  expect_entry ' \./usr/share/mime/packages/org\.skedlin\.Skedlin\.xml$'
fi
# Everything belongs to root.
if grep -v ' root/root ' <<<"$contents" | grep -q .; then fail "files not owned by root"; fi

lintian --fail-on error --display-level ">=warning" "$deb" | tee "$work/lintian.log" || fail "lintian reports errors"
echo "lintian: $(grep -c '^W: ' "$work/lintian.log" || true) warnings, no errors"
