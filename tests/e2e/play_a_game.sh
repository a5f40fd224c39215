#!/usr/bin/env bash
# A player under a real X server: title screen, a key, the question screen, reveal, quit, the
# farewell screen six seconds later, a key, and the game ends with status 0.
# Usage: play_a_game.sh path/to/tarvelo
source "$(dirname "$0")/xvfb_session.sh"
GAME=$1

LIGHT_YELLOW=255,255,192
BLACK=0,0,0
LIGHT_PINK=255,192,192
# Centres of the controls at 96 dpi: their twips divided by 15.
OPTIONS_X=244; OPTIONS_Y=164
QUIT_X=596; QUIT_Y=36
OPTION_ONE_X=60; OPTION_ONE_Y=224     # inside lblAnsOne, where its first letters are drawn

start_xvfb 1024x768x24
start_game "$GAME"
wait_pixel 900 700 "$LIGHT_YELLOW" 10
echo "title screen shown"

xdotool key a
wait_pixel 900 700 "$BLACK" 5
echo "question screen shown"

before=$(convert "$TMP_DIR/shot.png" -crop 193x49+56+216 +repage -format '%[fx:mean]' info:)
xdotool mousemove "$OPTIONS_X" "$OPTIONS_Y" click 1
sleep 0.5
shoot
after=$(convert "$TMP_DIR/shot.png" -crop 193x49+56+216 +repage -format '%[fx:mean]' info:)
[ "$before" != "$after" ] || fail "the options did not appear (lblAnsOne unchanged: $before)"
echo "options shown"

xdotool mousemove "$QUIT_X" "$QUIT_Y" click 1
quit_at=$(date +%s.%N)
sleep 0.3
[ "$(pixel 900 700)" = "$BLACK" ] || fail "the farewell screen came before its time"
wait_pixel 900 700 "$LIGHT_PINK" 10
shown_at=$(date +%s.%N)
delay=$(awk -v a="$quit_at" -v b="$shown_at" 'BEGIN { printf "%.2f", b - a }')
echo "farewell screen shown ${delay} s after Quit"
awk -v d="$delay" 'BEGIN { exit !(d >= 5.9 && d <= 7.5) }' || fail "the farewell screen took $delay s, not about 6"

xdotool key space
wait_exit 5
status=$EXIT_STATUS
[ "$status" = 0 ] || fail "the game ended with status $status"
echo "1 passed, 0 failed"
