#!/usr/bin/env bash
# The game built for arm64, run by qemu's user-mode emulation and played through this machine's own
# driver and end-to-end tests: the title's keys, a whole game won by keys, a wrong answer with its
# farewell, Quit and its farewell, a key on the farewell ending the program with status 0, and a
# start with no display named, refused in one line with status 1. Under emulation everything takes
# several times as long: the driver's waits for events are made eight times as patient.
# Usage: game_under_emulation.sh path/to/arm64/build path/to/native/build
set -euo pipefail
ARM64=$(cd "$1" && pwd)
NATIVE=$(cd "$2" && pwd)
GAME=$ARM64/app/tarvelo
fail() { echo "FAIL: $*" >&2; exit 1; }

grep -q 'ARM aarch64' <<< "$(file -b "$GAME")" || fail "$GAME is not built for arm64: $(file -b "$GAME")"
TMP_DIR=$(mktemp -d)
trap 'rm -rf "$TMP_DIR"' EXIT
printf '#!/bin/sh\nexec qemu-aarch64 -L / "%s" "$@"\n' "$GAME" > "$TMP_DIR/tarvelo"
chmod +x "$TMP_DIR/tarvelo"

TARVELO_TIMEOUT_SCALE=8 "$NATIVE/tests/e2e_tests" --game="$TMP_DIR/tarvelo" \
    --gtest_filter='Title.KeysWithoutACharacterDoNothingAndEscEndsTheGame:KeyboardGame.*:Play.*:StartFailure.NoDisplayAtAllPointsToAVirtualDisplay'
