#!/usr/bin/env bash
# An installed copy works from any folder: `cmake --install` into a temporary
# prefix, then the programs, started through PATH and through links, find each
# other, the DTD and the help beside their real executables and build the
# example package from a folder outside the installation and the build.
#
#   install_tests.sh BUILD_FOLDER SOURCE_FOLDER WITH_EDITOR(ON|OFF)
set -euo pipefail
build="$1" source="$2" with_editor="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
programs=(SkedlinBuilder SkedlinTool)
[[ "$with_editor" == ON ]] && programs+=(Skedlin)

# Layout: the programs live together in lib/skedlin, bin/ only links there.
private="$prefix/lib/skedlin"
for program in "${programs[@]}"; do
  [[ -L "$prefix/bin/$program" ]] || fail "bin/$program is not a link"
  [[ "$(readlink -f "$prefix/bin/$program")" == "$private/$program" ]] || fail "bin/$program does not lead to lib/skedlin"
  [[ -x "$private/$program" && ! -L "$private/$program" ]] || fail "lib/skedlin/$program is not an executable"
done
[[ -x "$private/cabwiz" ]] || fail "cabwiz is not beside the programs"
[[ -f "$private/CalendarPackage.dtd" ]] || fail "CalendarPackage.dtd is not beside the programs"
[[ -f "$private/help/index.html" ]] || fail "the manual is not beside the programs"
# Every link is relative and stays inside the prefix, so the copy can be moved.
while IFS= read -r link; do
  [[ "$(readlink "$link")" != /* ]] || fail "$link is an absolute link"
  target="$(readlink -f "$link")"
  [[ "$target" == "$prefix"/* && -e "$target" ]] || fail "$link leads out of the installation or nowhere"
done < <(find "$prefix" -type l)

# A project folder of the user's, apart from the source, the build and the
# installation. Only the installation is on the PATH. The example names a DTD
# at a Windows path, so the builder falls back to the one beside itself.
project="$work/project"
cp -r "$source/examples/conference" "$project"
cd "$project"
export PATH="$prefix/bin:/usr/bin:/bin" QT_QPA_PLATFORM=offscreen

built() {  # built BASE: the builder's two packages exist and are not empty
  [[ -s "$1.prc" && -s "$1.cab" ]] || fail "no .prc and .cab for $1"
  [[ ! -e "$1.err" ]] || fail "$(cat "$1.err")"
}

SkedlinBuilder Conference.xml out-path /ERR out-path.err /PALM /WINCE >/dev/null || fail "SkedlinBuilder through PATH"
built out-path

# A link of the user's to the link in bin/: two links to resolve.
mkdir "$work/tools"
ln -s "$prefix/bin/SkedlinBuilder" "$work/tools/make-package"
"$work/tools/make-package" Conference.xml out-link /ERR out-link.err /PALM /WINCE >/dev/null || fail "SkedlinBuilder through a chain of links"
built out-link

# The editor's document on the command line reads the package with the DTD
# beside it, and runs the builder from its own folder.
SkedlinTool check Conference.xml >/dev/null || fail "SkedlinTool check through PATH"
before="$(ls)"
SkedlinTool build Conference.xml >/dev/null || fail "SkedlinTool build through PATH"
new_prc="$(comm -13 <(echo "$before") <(ls) | grep '\.prc$' || true)"
[[ -n "$new_prc" ]] || fail "SkedlinTool build wrote no .prc"
built "${new_prc%.prc}"
echo "installed copy works from $project"
