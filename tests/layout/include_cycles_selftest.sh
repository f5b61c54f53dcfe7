#!/usr/bin/env bash
# The include-cycle check must fail on two folders that include each other
# through a subfolder, and pass once the back edge is gone.
set -euo pipefail
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/a/inner" "$work/b" "$work/c"
echo '#include "b/B.h"' > "$work/a/inner/A.h"
echo '#include "c/C.h"' > "$work/b/B.h"
echo '#include "a/inner/A.h"' > "$work/c/C.h"
if python3 "$check" "$work" 2> "$work/report"; then
    echo "a cycle a/inner -> b -> c -> a/inner was not found" >&2
    exit 1
fi
grep -q 'c/C.h:1: #include "a/inner/A.h"' "$work/report" || { echo "the report does not name the back edge" >&2; cat "$work/report" >&2; exit 1; }
echo '#include <vector>' > "$work/c/C.h"
python3 "$check" "$work"
