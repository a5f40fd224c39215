#!/usr/bin/env bash
# The program's answers before any window: --help, --version, unknown options and no display.
# Usage: command_line.sh path/to/tarvelo
set -uo pipefail
GAME=$1
passed=0
failed=0
check() {   # check NAME EXPECTED_STATUS ACTUAL_STATUS CONDITION_STATUS
    if [ "$2" = "$3" ] && [ "$4" = 0 ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: $1 (status $3, wanted $2)" >&2
        failed=$((failed + 1))
    fi
}
out=$(mktemp); err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

run() { timeout 10 "$@" > "$out" 2> "$err"; }

run "$GAME" --help; s=$?
grep -q -- '--version' "$out"; check "--help lists the options" 0 $s $?

run "$GAME" --version; s=$?
grep -qE '^tarvelo [0-9]+\.[0-9]+\.[0-9]+$' "$out"; check "--version prints name and version" 0 $s $?

for bad in --fullscreen -q questions.txt "--help --bogus"; do
    # shellcheck disable=SC2086
    DISPLAY= run "$GAME" $bad; s=$?
    [ "$(wc -l < "$err")" = 1 ] && grep -q 'Usage: tarvelo' "$err" && [ ! -s "$out" ]
    check "'$bad' is refused with one line and the usage" 2 $s $?
done

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$GAME" > "$out" 2> "$err"; s=$?
[ "$(wc -l < "$err")" = 1 ] && grep -q 'graphical desktop session' "$err" && grep -q 'xvfb-run' "$err"
check "no display at all: one clear line" 1 $s $?

# A display named that nothing serves: Qt's words for it, and no advice to do without a display.
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4095 "$GAME" > "$out" 2> "$err"; s=$?
[ "$(wc -l < "$err")" = 1 ] && grep -q 'could not connect to display :4095$' "$err" && ! grep -q 'xvfb-run' "$err"
check "a display that nothing serves: one clear line" 1 $s $?

env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=wayland-nowhere XDG_RUNTIME_DIR=/tmp "$GAME" > "$out" 2> "$err"; s=$?
[ "$(wc -l < "$err")" = 1 ]
check "a Wayland display that is not there: one clear line" 1 $s $?

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
