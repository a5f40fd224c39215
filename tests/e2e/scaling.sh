#!/usr/bin/env bash
# At twice the scale, by QT_SCALE_FACTOR or by a 192 dpi X resource, every screen must be the
# 96 dpi screen drawn twice as large: layout, fonts and pictures together.
# Usage: scaling.sh path/to/tarvelo
source "$(dirname "$0")/xvfb_session.sh"
GAME=$1
# How far a halved screenshot may differ from the 96 dpi one (root mean square, 0..1); glyphs are
# hinted differently at each size, a moved or unscaled control is far above it.
TOLERANCE=0.06

# shoot_screens PREFIX SCALE: the title, the question with its options, and the farewell screen.
shoot_screens() {
    local prefix=$1 scale=$2
    start_game "$GAME"
    wait_pixel $((900 * scale)) $((700 * scale)) 255,255,192 10
    sleep 0.3; shoot; cp "$TMP_DIR/shot.png" "$TMP_DIR/$prefix-title.png"
    xdotool key a
    wait_pixel $((900 * scale)) $((700 * scale)) 0,0,0 5
    xdotool mousemove $((244 * scale)) $((164 * scale)) click 1
    sleep 0.5; shoot; cp "$TMP_DIR/shot.png" "$TMP_DIR/$prefix-question.png"
    xdotool mousemove $((596 * scale)) $((36 * scale)) click 1
    wait_pixel $((900 * scale)) $((700 * scale)) 255,192,192 10
    sleep 0.3; shoot; cp "$TMP_DIR/shot.png" "$TMP_DIR/$prefix-farewell.png"
    xdotool key space
    local status
    wait_exit 5
    status=$EXIT_STATUS
    [ "$status" = 0 ] || fail "$prefix: the game ended with status $status; its log: $(cat "$TMP_DIR/game.log")"
}

# Root mean square difference of two pictures, 0..1; compare's status says only whether they differ.
rmse() { { compare -metric RMSE "$1" "$2" null: 2>&1 || true; } | sed -E 's/.*\((.*)\).*/\1/'; }

# Each run draws its own question: the texts it changes are blacked out on the question screen,
# at their 96 dpi places (question, four options, message line).
QUESTION_TEXTS=(-fill black -draw 'rectangle 64,48 488,120' -draw 'rectangle 56,216 248,264'
                -draw 'rectangle 280,216 488,264' -draw 'rectangle 56,296 248,344'
                -draw 'rectangle 280,288 488,344' -draw 'rectangle 80,368 472,424')

compare_screens() {   # compare_screens PREFIX
    local screen difference
    for screen in title question farewell; do
        local mask=()
        [ "$screen" = question ] && mask=("${QUESTION_TEXTS[@]}")
        convert "$TMP_DIR/$1-$screen.png" -crop 1280x960+0+0 +repage -filter box -resize 50% "${mask[@]}" "$TMP_DIR/half.png"
        convert "$TMP_DIR/base-$screen.png" -crop 640x480+0+0 +repage "${mask[@]}" "$TMP_DIR/base-crop.png"
        difference=$(rmse "$TMP_DIR/half.png" "$TMP_DIR/base-crop.png")
        echo "$1 $screen: difference $difference"
        awk -v d="$difference" -v t="$TOLERANCE" 'BEGIN { exit !(d <= t) }' ||
            { cp "$TMP_DIR/$1-$screen.png" "/tmp/tarvelo-scaling-$1-$screen.png"; fail "$1 $screen differs by $difference"; }
    done
}

start_xvfb 1024x768x24
shoot_screens base 1
# The question screen must not look like the title: the comparison can tell screens apart.
convert "$TMP_DIR/base-title.png" -crop 640x480+0+0 +repage "$TMP_DIR/a.png"
convert "$TMP_DIR/base-question.png" -crop 640x480+0+0 +repage "$TMP_DIR/b.png"
apart=$(rmse "$TMP_DIR/a.png" "$TMP_DIR/b.png")
awk -v d="$apart" -v t="$TOLERANCE" 'BEGIN { exit !(d > 5 * t) }' || fail "the comparison cannot tell two screens apart ($apart)"
kill "$XVFB_PID"; wait "$XVFB_PID" 2>/dev/null || true

start_xvfb 2048x1536x24
QT_SCALE_FACTOR=2 shoot_screens factor 2
compare_screens factor

echo 'Xft.dpi: 192' | xrdb -merge
shoot_screens xresource 2
compare_screens xresource
echo "1 passed, 0 failed"
