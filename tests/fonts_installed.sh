#!/usr/bin/env bash
# Every face the screens draw in place of a designed one must be installed, not silently replaced
# by fontconfig's nearest match.
set -euo pipefail
passed=0
failed=0
for face in "Liberation Sans" "Liberation Sans Narrow" "Liberation Serif" "Z003"; do
    found=$(fc-match -f '%{family[0]}' "$face")
    if [ "$found" = "$face" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: '$face' is not installed; fontconfig offers '$found'" >&2
        failed=$((failed + 1))
    fi
done
fc-list ':family=Liberation Sans:style=Bold' | grep -q . || { echo "FAIL: no bold Liberation Sans" >&2; failed=$((failed + 1)); }
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
