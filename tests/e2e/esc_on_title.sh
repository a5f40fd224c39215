#!/usr/bin/env bash
# Esc on the title screen ends the game at once, with status 0; Shift and arrows before it do nothing.
# Usage: esc_on_title.sh path/to/tarvelo
source "$(dirname "$0")/xvfb_session.sh"
GAME=$1

start_xvfb 1024x768x24
start_game "$GAME"
wait_pixel 900 700 255,255,192 10
xdotool key shift Left F1
sleep 0.3
kill -0 "$APP_PID" || fail "a key without a character ended the game"
[ "$(pixel 900 700)" = 255,255,192 ] || fail "a key without a character left the title screen"
pressed_at=$SECONDS
xdotool key Escape
wait_exit 2
status=$EXIT_STATUS
[ "$status" = 0 ] || fail "Esc ended the game with status $status"
echo "ended $((SECONDS - pressed_at)) s after Esc"
echo "1 passed, 0 failed"
