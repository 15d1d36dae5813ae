#!/usr/bin/env bash
# A short fight played through the keyboard: the first player walks in and punches, the
# second is hit; the debug displays are switched on and off; Escape ends the game cleanly.
# Screenshots are compared against the first one; they are kept in $SCREENSHOTS if set.
source "$(dirname "$0")/lib.bash"

SHOTS=${SCREENSHOTS:-$WORK/shots}
mkdir -p "$SHOTS"

# Share of pixels that differ between two screenshots inside a region (ImageMagick geometry
# WxH+X+Y), in percent.
changed_percent() {
    local a=$1 b=$2 region=$3
    convert "$a" -crop "$region" +repage "$WORK/crop-a.png"
    convert "$b" -crop "$region" +repage "$WORK/crop-b.png"
    local differing
    differing=$(compare -metric AE -fuzz 8% "$WORK/crop-a.png" "$WORK/crop-b.png" null: 2>&1 || true)
    convert "$WORK/crop-a.png" -format "%[fx:int(100 * $differing / (w * h))]" info:
}

start_game
await_window
screenshot "$SHOTS/1-start.png"

# Player one walks in and punches; the punch lands 15 steps after the press.
hold 0.9 d
hold 0.1 j
sleep 0.35
screenshot "$SHOTS/2-punch.png"
# The second player's health readout (lower right) changed from 1000 to 950.
[ "$(changed_percent "$SHOTS/1-start.png" "$SHOTS/2-punch.png" 160x60+480+470)" -ge 5 ] ||
    fail "the second player's health readout did not change"
sleep 1

# F3 shows the boxes, F1 removes them again.
hold 0.2 F3
screenshot "$SHOTS/3-hitboxes.png"
[ "$(dominant_pixels "$SHOTS/3-hitboxes.png" 800x400+0+100 g)" -ge 5000 ] ||
    fail "no green body boxes after F3"
# The punch box is out for a third of a second, from a quarter second after the press: a
# burst of screenshots, back to back from the press on, catches it whatever the pace of
# the machine.
(for shot in $(seq 10 40); do capture "$WORK/punch-$shot.xwd"; sleep 0.02; done) &
burst=$!
hold 0.1 j
wait "$burst"
hold 0.2 F1
screenshot "$SHOTS/5-hidden.png"
[ "$(dominant_pixels "$SHOTS/5-hidden.png" 800x400+0+100 g)" -lt 50 ] ||
    fail "boxes still shown after F1"
# Under the green boxes the headbands lose their red: what is red now is the punch box.
red_with_box=0
for shot in "$WORK"/punch-*.xwd; do
    red=$(dominant_pixels "$shot" 800x400+0+100 r)
    if [ "$red" -gt "$red_with_box" ]; then
        red_with_box=$red
        convert "$shot" "$SHOTS/4-punch-boxes.png"
    fi
done
red_without=$(dominant_pixels "$SHOTS/3-hitboxes.png" 800x400+0+100 r)
[ "$red_with_box" -ge $((red_without + 100)) ] ||
    fail "no red punch box while punching ($red_with_box red pixels, $red_without without boxes)"

# F2 shows the input panels; the first player's special move (down, down-back, back and
# the kick button) and the second player's punch fill them with rows.
hold 0.2 F2
xdotool keydown s
sleep 0.06
xdotool keydown a
sleep 0.06
xdotool keyup s
sleep 0.06
hold 0.1 k
xdotool keyup a
hold 0.3 Left
hold 0.1 KP_1
sleep 0.3
screenshot "$SHOTS/6-input-panels.png"
[ "$(changed_percent "$SHOTS/5-hidden.png" "$SHOTS/6-input-panels.png" 240x200+80+60)" -ge 2 ] ||
    fail "no input rows in the first player's panel after F2"

hold 0.3 Escape
await_exit 20
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
grep -q '\*\*\* Shutting down OIS \*\*\*' "$WORK/Ogre.log" || fail "no orderly shutdown"
echo "ok"
