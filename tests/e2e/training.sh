#!/usr/bin/env bash
# The lab under --training, through its keys: F4 shows the frame meter after a punch lands;
# F7 held rewinds to before the punch; paused, the picture stands still, F6 steps with the keys
# held and F7 steps back to the very picture that step showed before. Escape ends it with
# status 0, the rewound health in the log.
source "$(dirname "$0")/lib.bash"

# Pixels in the meter's band that match a colour test (ImageMagick -fx).
meter_pixels() {
    convert "$1" -crop 768x44+16+538 +repage -fx "($2) ? 1 : 0" -format '%[fx:int(mean * w * h)]' info:
}

# The window below the status line, which counts the steps back.
below_status() {
    capture "$WORK/shot.xwd"
    convert "$WORK/shot.xwd" -crop 800x560+0+40 +repage "$1"
}

differing_pixels() {
    compare -metric AE "$1" "$2" null: 2>&1 || true
}

start_game "$WORK" --training
await_window
xdotool key F4
hold 0.9 d
xdotool key j
# The exchange lasts 67 steps.
sleep 1.4
capture "$WORK/meter.xwd"
# Back to the start of the history, 60 steps a second: well before the punch.
hold 4 F7
convert "$WORK/meter.xwd" "$WORK/meter.png"
active=$(meter_pixels "$WORK/meter.png" "r>0.8 && g<0.35 && b<0.35")
stun=$(meter_pixels "$WORK/meter.png" "r>0.9 && g>0.7 && b<0.35")
[ "$active" -ge 300 ] || fail "no active cells on the meter after a punch ($active pixels)"
[ "$stun" -ge 300 ] || fail "no hit stun cells on the meter after a punch ($stun pixels)"

xdotool key F5
sleep 0.3
below_status "$WORK/paused-a.png"
sleep 0.5
below_status "$WORK/paused-b.png"
[ "$(differing_pixels "$WORK/paused-a.png" "$WORK/paused-b.png")" = 0 ] ||
    fail "the picture changed while paused"

xdotool keydown d
sleep 0.2
xdotool key F6
sleep 0.3
below_status "$WORK/step-1.png"
xdotool key F6
sleep 0.3
below_status "$WORK/step-2.png"
xdotool keyup d
[ "$(differing_pixels "$WORK/step-1.png" "$WORK/step-2.png")" != 0 ] ||
    fail "F6 with forward held did not move the fighter"
xdotool key F7
sleep 0.3
below_status "$WORK/back.png"
[ "$(differing_pixels "$WORK/step-1.png" "$WORK/back.png")" = 0 ] ||
    fail "one step back does not show what that step showed"

xdotool key Escape
await_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
grep -q 'Match ended: .*health 1000 / 1000' "$WORK/Ogre.log" ||
    fail "the punch was not rewound: $(grep 'Match ended' "$WORK/Ogre.log")"
echo "ok"
