#!/usr/bin/env bash
# The viewer core as the handheld gets it: compiled for the 68000 without a C
# library, it must have no writable data, no absolute addresses to relocate
# (tables of pointers) and call nothing outside itself but the compiler's own
# arithmetic helpers.
#   check_freestanding.sh SOURCE_DIR
set -euo pipefail
source_dir="$1"
cc=m68k-linux-gnu-gcc
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
for source in "$source_dir"/viewer/core/*.c; do
  object="$work/$(basename "$source" .c).o"
  "$cc" -std=c99 -m68000 -mpcrel -Os -ffreestanding -fno-builtin -Werror -Wall -Wextra -I"$source_dir" -c "$source" -o "$object"
  if m68k-linux-gnu-objdump -h "$object" | awk '$2 ~ /^\.(data|bss|data\.rel)/ && $3 != "00000000" {found=1} END {exit !found}'; then
    echo "writable or relocated data in $(basename "$source")"; failed=1
  fi
  if m68k-linux-gnu-objdump -r "$object" | grep -E 'R_68K_(32|16|8)( |$)'; then
    echo "absolute relocation in $(basename "$source")"; failed=1
  fi
done
undefined="$(m68k-linux-gnu-nm -u "$work"/*.o | awk '{print $2}' | sort -u | grep -v -E '^(skv_|__(mul|div|udiv|mod|umod)si3$)' || true)"
if [[ -n "$undefined" ]]; then
  echo "calls outside the core: $undefined"; failed=1
fi
exit $failed
