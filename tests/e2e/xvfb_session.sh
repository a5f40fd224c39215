# Shared by the end-to-end tests: a private Xvfb, pixel reading and waiting. Sourced, not run.
# Needs: Xvfb, xdotool, ImageMagick's import and convert.

set -euo pipefail

TMP_DIR=$(mktemp -d)
XVFB_PID=""
APP_PID=""

cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$TMP_DIR"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$TMP_DIR/shot.png" ] && cp "$TMP_DIR/shot.png" "${E2E_FAILED_SHOT:-/tmp/tarvelo-e2e-failed.png}" 2>/dev/null || true
    exit 1
}

# Starts Xvfb on a display number it picks itself; SIZE like 1024x768x24.
start_xvfb() {
    local size=${1:-1024x768x24}
    local numberFile
    numberFile=$(mktemp -p "$TMP_DIR" displayfd.XXXXXX)
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3> "$numberFile" > "$TMP_DIR/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local n
    for _ in $(seq 1 100); do
        n=$(head -n 1 "$numberFile" 2>/dev/null || true)
        [ -n "$n" ] && break
        sleep 0.05
    done
    [ -n "$n" ] || fail "Xvfb did not start: $(cat "$TMP_DIR/xvfb.log")"
    export DISPLAY=":$n"
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
    export XDG_RUNTIME_DIR="$TMP_DIR/runtime"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
}

shoot() { import -window root "$TMP_DIR/shot.png" 2>/dev/null; }

# Prints "r,g,b" of one pixel of the last shot.
pixel_of_shot() {
    convert "$TMP_DIR/shot.png" -crop "1x1+$1+$2" +repage -depth 8 -format '%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]' info:
}

pixel() { shoot; pixel_of_shot "$1" "$2"; }

# wait_pixel X Y R,G,B SECONDS: until the pixel has that colour.
wait_pixel() {
    local deadline=$((SECONDS + ${4:-10}))
    while [ "$SECONDS" -le "$deadline" ]; do
        [ "$(pixel "$1" "$2")" = "$3" ] && return 0
        sleep 0.1
    done
    fail "pixel $1,$2 is $(pixel_of_shot "$1" "$2"), not $3, after ${4:-10} s"
}

# wait_exit SECONDS: the game ends by itself; its exit status is left in EXIT_STATUS. Not to be
# called in $(...): only this shell, the game's parent, can collect its status.
wait_exit() {
    local deadline=$((SECONDS + ${1:-5}))
    while kill -0 "$APP_PID" 2>/dev/null; do
        [ "$SECONDS" -le "$deadline" ] || { shoot; fail "the game did not end within ${1:-5} s;" \
            "keyboard focus on window $(xdotool getwindowfocus 2>&1); its log: $(cat "$TMP_DIR/game.log")"; }
        sleep 0.05
    done
    EXIT_STATUS=0
    wait "$APP_PID" || EXIT_STATUS=$?
    APP_PID=""
}

start_game() {
    "$@" > "$TMP_DIR/game.log" 2>&1 &
    APP_PID=$!
}
