#!/usr/bin/env bash
# Makes the README's screenshots of the three screens under a private Xvfb.
# Usage: doc/make_screenshots.sh [path/to/tarvelo]   (default: build/default/app/tarvelo)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/xvfb_session.sh"
GAME=${1:-$here/../build/default/app/tarvelo}
# The screens' controls all lie within 640x480 of the top-left corner.
keep() { convert "$TMP_DIR/shot.png" -crop 640x480+0+0 +repage "$here/$1"; echo "wrote doc/$1"; }

start_xvfb 1024x768x24
start_game "$GAME"
wait_pixel 900 700 255,255,192 10
sleep 1.2   # past the first colour change of the prompts
shoot; keep title.png
xdotool key Return
wait_pixel 900 700 0,0,0 5
xdotool mousemove 244 164 click 1
sleep 0.3
shoot; keep question.png
xdotool mousemove 596 36 click 1
wait_pixel 900 700 255,192,192 10
sleep 0.3
shoot; keep farewell.png
xdotool key q
wait_exit 5
[ "$EXIT_STATUS" = 0 ] || fail "the game did not end cleanly"
