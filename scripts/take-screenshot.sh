#!/usr/bin/env bash
# Takes the editor's screenshot for the AppStream metainfo
# (packaging/screenshots/editor.png): the example package open in the editor
# on a virtual X display, without a window manager, at 1024x640.
#
#   bash scripts/take-screenshot.sh [BUILD_FOLDER]     (default build/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
width=1024
height=640
output="$root/packaging/screenshots/editor.png"

work="$(mktemp -d)"
trap 'kill "${editor_pid:-}" "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$root/examples/conference" "$work/conference"

# A display number nobody uses, and a settings folder of our own so that the
# editor shows no recent files of the person running this.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp &
xvfb_pid=$!
sleep 2
export DISPLAY="$display" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
"$build/bin/Skedlin" -geometry "${width}x${height}+0+0" "$work/conference/Conference.xml" &
editor_pid=$!
sleep 5
mkdir -p "$(dirname "$output")"
# The PNG carries no time stamp, so the same window gives the same file.
import -display "$display" -window root -define png:exclude-chunks=date,time "$output"
echo "$output"
