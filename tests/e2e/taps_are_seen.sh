#!/usr/bin/env bash
# Keys tapped, pressed and released a few milliseconds apart, between two logic steps: each
# tap counts. F3 and F1 in turn switch the boxes on and off, five times each; a tap of Escape
# ends the game.
source "$(dirname "$0")/lib.bash"

# Pixels of the green body boxes in the fight area, counted on every fourth pixel of each
# fourth row: quick, and plenty to tell boxes shown from boxes gone.
green_pixels() {
    capture "$WORK/shot.xwd"
    convert "$WORK/shot.xwd" -crop 800x400+0+100 +repage -sample 25% \
        -fx "(g-r>0.25 && g-b>0.25) ? 1 : 0" -format '%[fx:int(mean * w * h)]' info:
}

# Waits up to 3 s for the boxes to be shown ("on") or gone ("off").
await_boxes() {
    local want=$1 i green
    for i in $(seq 1 10); do
        sleep 0.1
        green=$(green_pixels)
        if [ "$want" = on ] && [ "$green" -ge 1000 ]; then return; fi
        if [ "$want" = off ] && [ "$green" -lt 15 ]; then return; fi
    done
    fail "boxes not $want after a tap ($green green pixels)"
}

start_game
await_window
for round in 1 2 3 4 5; do
    xdotool key F3
    await_boxes on
    xdotool key F1
    await_boxes off
done
xdotool key Escape
await_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after a tap of Escape"
echo "ok"
