#!/usr/bin/env bash
# Keys tapped, pressed and released a few milliseconds apart, between two logic steps: each
# tap counts. F3 and F1 in turn switch the boxes on and off, five times each; a tap of Escape
# ends the game.
source "$(dirname "$0")/lib.bash"

# The green body boxes in the fight area, shown ("on") or gone ("off").
boxes() {
    COUNT=$(dominant_pixels "window:$WINDOW" 800x400+0+100 g)
    if [ "$1" = on ]; then [ "$COUNT" -ge 16000 ]; else [ "$COUNT" -lt 200 ]; fi
}

await_boxes() {
    eventually 30 boxes "$1" || fail "boxes not $1 after a tap ($COUNT green pixels)"
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
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after a tap of Escape"
echo "ok"
