#!/usr/bin/env bash
# The desktop integration as installed: the menu entry and the metainfo pass
# their validators, the file type database recognises calendar packages by
# their root element (also without the extension) and leaves other XML
# files alone, and the editor is the packages' handler.
#
#   desktop_tests.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
build="$1" source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
app=org.skedlin.Skedlin
type=application/x-skedlin-package

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
share="$prefix/share"

desktop-file-validate "$share/applications/$app.desktop" || fail "desktop-file-validate"
grep -qx "MimeType=$type;" "$share/applications/$app.desktop" || fail "the menu entry does not open $type"
appstreamcli validate --no-net "$share/metainfo/$app.metainfo.xml" || fail "appstreamcli validate"
[[ -f "$share/icons/hicolor/scalable/apps/$app.svg" ]] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  png="$share/icons/hicolor/${size}x${size}/apps/$app.png"
  [[ "$(identify -format '%wx%h' "$png")" == "${size}x${size}" ]] || fail "icon $png is not ${size}x${size}"
done

# The databases as the package's triggers build them, but in the temporary
# prefix, searched before the system's. No desktop session: xdg-mime uses the
# shared-mime-info database directly.
export XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$work/home/share" XDG_CONFIG_HOME="$work/home/config"
export XDG_CONFIG_DIRS="$work/none" XDG_CURRENT_DESKTOP=X-Generic
update-mime-database "$share/mime"
update-desktop-database "$share/applications"
unset DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID

# Both ways desktops look a type up: xdg-mime (the shared-mime-info database
# read by its own rules) and GLib's, which file managers use and which prefers
# a glob candidate over its parent type found by content.
expect_type() {  # expect_type FILE TYPE
  local by_xdg by_gio
  by_xdg="$(xdg-mime query filetype "$1")"
  by_gio="$(gio info --attributes=standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p')"
  [[ "$by_xdg" == "$2" ]] || fail "xdg-mime: $(basename "$1") is $by_xdg, expected $2"
  [[ "$by_gio" == "$2" ]] || fail "gio: $(basename "$1") is $by_gio, expected $2"
}
files="$work/files"
mkdir "$files"
cp "$source/examples/conference/Conference.xml" "$files/Conference.xml"
cp "$source/examples/conference/Conference.xml" "$files/Conference"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<calendar-package navigation="groups"/>\n' > "$files/Minimal.xml"
printf '<calendar-package>\n' > "$files/Bare.xml"
expect_type "$files/Conference.xml" "$type"
expect_type "$files/Conference" "$type"
expect_type "$files/Minimal.xml" "$type"
expect_type "$files/Bare.xml" "$type"
# Other XML files stay XML, also when a comment names a longer element.
printf '<?xml version="1.0"?>\n<catalog/>\n' > "$files/Plain.xml"
printf '<catalog/>\n' > "$files/NoDeclaration.xml"
printf '<?xml version="1.0"?>\n<!-- <calendar-packages> -->\n<catalog/>\n' > "$files/Longer.xml"
expect_type "$files/Plain.xml" application/xml
expect_type "$files/NoDeclaration.xml" application/xml
expect_type "$files/Longer.xml" application/xml
default="$(xdg-mime query default "$type")"
[[ "$default" == "$app.desktop" ]] || fail "the handler of $type is '$default'"
echo "desktop integration valid"
