#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 chroot as a user would,
# checks that the programs run from PATH and build the example from a folder
# of the user's, then removes the package and checks that nothing is left.
# Needs root and the network; makes the chroot with debootstrap when the
# folder does not hold one yet (some minutes).
#
#   bash scripts/check-package-in-chroot.sh CHROOT_FOLDER [DEB]   (default build/skedlin_*.deb)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
chroot_dir="$1"
deb="${2:-$(ls "$root"/build/skedlin_*.deb)}"
fail() { echo "FAIL: $*" >&2; exit 1; }

if [[ ! -x "$chroot_dir/usr/bin/apt" ]]; then
  debootstrap --variant=minbase bookworm "$chroot_dir" http://deb.debian.org/debian
fi
mount -t proc proc "$chroot_dir/proc"
trap 'umount "$chroot_dir/proc"' EXIT
in_chroot() { chroot "$chroot_dir" env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/root LC_ALL=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive "$@"; }

cp "$deb" "$chroot_dir/tmp/"
name="$(basename "$deb")"
# What every desktop has: the menu and file type databases, whose triggers
# must pick the package's files up.
in_chroot apt-get update -qq
in_chroot apt-get install -y -qq desktop-file-utils shared-mime-info

in_chroot apt-get install -y -qq "/tmp/$name" || fail "apt install ./$name"

# The programs from PATH, in a folder of the user's.
in_chroot sh -c 'set -e
  cp -r /usr/share/doc/skedlin/examples/conference /root/conference
  cd /root/conference
  SkedlinBuilder Conference.xml Conference /ERR Conference.err /PALM /WINCE
  test -s Conference.prc && test -s Conference.cab
  SkedlinTool check Conference.xml
  SkedlinTool build Conference.xml
  ls -l /root/conference' || fail "building the example"
# The editor starts and keeps running until it is ended.
status=0
in_chroot timeout 5 env QT_QPA_PLATFORM=offscreen Skedlin /root/conference/Conference.xml || status=$?
[[ $status -eq 124 ]] || fail "the editor ended by itself with status $status"
in_chroot grep -q x-skedlin-package /usr/share/mime/globs2 || fail "the file type is not in the database"
in_chroot grep -qx 'application/x-skedlin-package=org.skedlin.Skedlin.desktop;' /usr/share/applications/mimeinfo.cache \
  || fail "the editor is not the file type's handler"

in_chroot dpkg -L skedlin > "$chroot_dir/tmp/files.txt"
in_chroot apt-get remove -y -qq skedlin || fail "apt remove"
# Every file and link of the package is gone (folders shared with other
# packages stay), and nothing outside the home folder is named after it. The
# editor's settings in the home folder are the user's and stay, as for any
# program.
while IFS= read -r path; do
  [[ -e "$chroot_dir$path" && ! -d "$chroot_dir$path" || -L "$chroot_dir$path" ]] && fail "$path was left behind"
done < "$chroot_dir/tmp/files.txt"
left="$(in_chroot find / -xdev \( -path /proc -o -path /root -o -path /tmp \) -prune -o -iname '*skedlin*' -print)"
[[ -z "$left" ]] || fail "left behind: $left"
if in_chroot grep -rl x-skedlin-package /usr/share/mime /usr/share/applications; then
  fail "the file type is still registered"
fi
echo "package installs, works and removes cleanly"
