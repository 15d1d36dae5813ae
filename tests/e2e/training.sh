#!/usr/bin/env bash
# The lab under --training, through its keys: F4 shows the frame meter after a punch lands;
# F7 held rewinds to before the punch; paused, the picture stands still, F6 steps with the keys
# held and F7 steps back to the very picture that step showed before. Escape ends it with
# status 0, the rewound health in the log.
source "$(dirname "$0")/lib.bash"

# meter_pixels PICTURE LOW HIGH: pixels in the meter's band whose colour lies between the two.
meter_pixels() {
    "$PIXELS" between "$2" "$3" "$1" 768x44+16+538
}

# same_below_status PICTURE OTHER: the two show the same below the status line, which counts
# the steps back.
same_below_status() {
    [ "$(differing_pixels 0 "$1" "$2" 800x560+0+40)" -eq 0 ]
}

start_game "$WORK" --training
await_window
xdotool key F4
hold 0.9 d
xdotool key j
# The exchange lasts 67 steps: active red, hit stun yellow.
meter_filled() {
    capture "$WORK/meter.xwd"
    active=$(meter_pixels "$WORK/meter.xwd" 205,0,0 255,89,89)
    stun=$(meter_pixels "$WORK/meter.xwd" 230,179,0 255,255,89)
    [ "$active" -ge 300 ] && [ "$stun" -ge 300 ]
}
eventually 60 meter_filled ||
    fail "no active or hit stun cells on the meter after a punch ($active and $stun pixels)"
# Back to the start of the history, 60 steps a second: well before the punch.
hold 4 F7

# Paused, the picture stands still (half a second of it, once the pause is seen).
xdotool key F5
stands_still() {
    capture "$WORK/paused-a.xwd"
    sleep 0.5
    capture "$WORK/paused-b.xwd"
    same_below_status "$WORK/paused-a.xwd" "$WORK/paused-b.xwd"
}
eventually 60 stands_still || fail "the picture changed while paused"

xdotool keydown d
xdotool key F6
eventually 60 eval '! same_below_status "$WORK/paused-b.xwd" "window:$WINDOW"' ||
    fail "F6 with forward held did not step"
capture "$WORK/step-1.xwd"
xdotool key F6
eventually 30 eval '! same_below_status "$WORK/step-1.xwd" "window:$WINDOW"' ||
    fail "F6 with forward held did not move the fighter"
xdotool keyup d
xdotool key F7
eventually 30 same_below_status "$WORK/step-1.xwd" "window:$WINDOW" ||
    fail "one step back does not show what that step showed"

xdotool key Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
grep -q 'Match ended: .*health 1000 / 1000' "$WORK/Ogre.log" ||
    fail "the punch was not rewound: $(grep 'Match ended' "$WORK/Ogre.log")"
echo "ok"
