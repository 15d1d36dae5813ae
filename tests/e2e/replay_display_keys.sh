#!/usr/bin/env bash
# Over a replay the viewer's F3 shows the boxes, F1 hides them and F2 shows the input panels,
# and the replay still plays to its recorded end: exit 0, the same 'Match ended' line. In the
# lab over the same replay, its end stands paused: a tap of F7 goes one step back and stays
# there, so the status line changes for good.
source "$(dirname "$0")/lib.bash"

match_end() {
    grep -o 'Match ended: .*' "$WORK/Ogre.log" || fail "no 'Match ended' line in Ogre.log"
}

status_line() {
    capture "$WORK/status.xwd"
    convert "$WORK/status.xwd" -crop 768x24+16+6 +repage "$1"
}

start_game "$WORK" --record "$WORK/walk.vrp"
await_window
hold 1.0 d
hold 0.1 j
sleep 8
xdotool key Escape
await_exit 20
recorded=$(match_end)

# Only grabbed while the replay runs (it lasts about 10 s), looked at once it has ended.
start_game "$WORK" --replay "$WORK/walk.vrp"
await_window
hold 0.2 F3
capture "$WORK/boxes.xwd"
hold 0.2 F1
capture "$WORK/hidden.xwd"
hold 0.2 F2
await_exit 30
[ "$(dominant_pixels "$WORK/boxes.xwd" 800x400+0+100 g)" -ge 5000 ] ||
    fail "no green body boxes after F3 over a replay"
[ "$(dominant_pixels "$WORK/hidden.xwd" 800x400+0+100 g)" -lt 50 ] ||
    fail "boxes still shown after F1 over a replay"
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after the replay: $(cat "$WORK/stderr")"
[ "$(match_end)" = "$recorded" ] || fail "replayed '$(match_end)', recorded '$recorded'"

start_game "$WORK" --training --replay "$WORK/walk.vrp"
await_window
# The status line counts the replay's steps until its end, where it stands still.
status_line "$WORK/ended.png"
for i in $(seq 1 60); do
    sleep 0.5
    status_line "$WORK/now.png"
    [ "$(compare -metric AE "$WORK/ended.png" "$WORK/now.png" null: 2>&1 || true)" = 0 ] && break
    mv "$WORK/now.png" "$WORK/ended.png"
done
xdotool key F7
sleep 0.5
status_line "$WORK/back.png"
[ "$(compare -metric AE "$WORK/ended.png" "$WORK/back.png" null: 2>&1 || true)" != 0 ] ||
    fail "F7 at the replay's end did not stay one step back"
xdotool key Escape
await_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape in the lab"
echo "ok"
