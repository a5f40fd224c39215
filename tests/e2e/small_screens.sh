#!/usr/bin/env bash
# On a 640x480 display every screen opens and what lies beyond the edge is cut off; on a display
# smaller than the screens' controls (600x400) a whole game still runs and ends with status 0.
# Usage: small_screens.sh path/to/tarvelo
source "$(dirname "$0")/xvfb_session.sh"
GAME=$1

play_on() {   # play_on WIDTH HEIGHT
    local w=$1 h=$2 x=$(($1 - 5)) y=$(($2 - 5))
    start_xvfb "${w}x${h}x24"
    start_game "$GAME"
    wait_pixel "$x" "$y" 255,255,192 10
    # lblPress keeps its place: its light green starts at 152,360 whatever the display.
    [ "$(pixel 160 380)" = 128,255,128 ] || fail "${w}x${h}: the prompt moved"
    xdotool key Return
    wait_pixel "$x" "$y" 0,0,0 5
    xdotool mousemove 244 164 click 1
    sleep 0.3
    if [ "$w" -gt 617 ]; then
        xdotool mousemove 596 36 click 1   # Quit lies inside a 640 wide display
    else
        xdotool key Escape                  # beyond the edge it is still the cancel button
    fi
    wait_pixel "$x" "$y" 255,192,192 10
    xdotool key x
    local status
    wait_exit 5
    status=$EXIT_STATUS
    [ "$status" = 0 ] || fail "${w}x${h}: the game ended with status $status"
    echo "${w}x${h}: title, question and farewell screens shown; ended with 0"
    kill "$XVFB_PID"; wait "$XVFB_PID" 2>/dev/null || true; XVFB_PID=""
}

play_on 640 480
play_on 600 400
echo "1 passed, 0 failed"
