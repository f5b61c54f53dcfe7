#!/usr/bin/env bash
# check_68000.sh OBJDUMP FILE...
# Fails when the disassembly of a FILE holds an instruction or addressing mode
# the 68000 does not have (68020 and later): 32-bit multiply and divide,
# extb.l, bit fields, cas/chk2/cmp2/pack/unpk/bkpt/callm/rtm/rtd, link.l,
# long branches, tst of an address register, scaled indexes and memory
# indirect addressing.
set -uo pipefail
objdump=$1
shift
status=0
for file in "$@"; do
listing=$("$objdump" -d "$file") || { echo "cannot disassemble $file"; exit 1; }
bad=$(printf '%s\n' "$listing" | awk -F'\t' 'NF >= 3 { split($3, op, " "); print $1 " " op[1] " " substr($3, length(op[1]) + 2) }' |
  grep -E '^ *[0-9a-f]+: ((mul[su]l|div[su]l|div[su]ll|extbl|bf[a-z]+|cas2?[bwl]?|chk2[bwl]|cmp2[bwl]|pack|unpk|bkpt|callm|rtm|rtd|linkl|movec|moves[bwl]?|trap(cc|cs|eq|ne|t|f)[wl]?|b(ra|sr|hi|ls|cc|cs|ne|eq|vc|vs|pl|mi|ge|lt|gt|le)l) |tst[bwl] %a[0-7]$|.*\*[248]|.*\]|.*@\([^)]*\)@)')
if [ -n "$bad" ]; then
  echo "instructions the 68000 does not have in $file:"
  printf '%s\n' "$bad" | head -20
  status=1
else
  echo "68000 instructions only: $file"
fi
done
exit $status
