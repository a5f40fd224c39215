#!/usr/bin/env bash
# Started by a desktop launcher, with a startup-notification token in its environment, the game
# reads its fonts after the display is open rather than beside it; its title must look the same
# either way, and Esc must still end it with status 0.
# Usage: desktop_launch.sh path/to/tarvelo
source "$(dirname "$0")/xvfb_session.sh"
GAME=$1

# Label1 and Label2: text in three designed fonts that no timer of the title screen changes.
STATIC_TEXT=441x105+152+112

title_text() {   # $1: name of the PNG to keep; the rest: the command to start
    local name=$1
    shift
    start_game "$@"
    wait_pixel 900 700 255,255,192 10
    convert "$TMP_DIR/shot.png" -crop "$STATIC_TEXT" +repage "$TMP_DIR/$name.png"
    xdotool key Escape
    wait_exit 5
    [ "$EXIT_STATUS" = 0 ] || fail "Esc ended the game with status $EXIT_STATUS ($name)"
}

start_xvfb 1024x768x24
title_text plain "$GAME"
title_text launched env DESKTOP_STARTUP_ID="launcher-$$_TIME0" "$GAME"

colours=$(convert "$TMP_DIR/plain.png" -format '%k' info:)
[ "$colours" -gt 20 ] || fail "the title's text is missing: only $colours colours in it"
differing=$(compare -metric AE "$TMP_DIR/plain.png" "$TMP_DIR/launched.png" null: 2>&1 || true)
[ "$differing" = 0 ] || fail "$differing pixels of the title's text differ when started by a launcher"
echo "title text: $colours colours, the same with a startup token"
echo "1 passed, 0 failed"
