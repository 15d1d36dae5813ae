#!/usr/bin/env bash
# Over a replay the viewer's F3 shows the boxes, F1 hides them and F2 shows the input panels,
# and the replay still plays to its recorded end: exit 0, the same 'Match ended' line. In the
# lab over the same replay, its end stands paused: a tap of F7 goes one step back and stays
# there, so the status line changes for good.
source "$(dirname "$0")/lib.bash"

match_end() {
    grep -o 'Match ended: .*' "$WORK/Ogre.log" || fail "no 'Match ended' line in Ogre.log"
}
green() { COUNT=$(dominant_pixels "window:$WINDOW" 800x400+0+100 g); }
boxes_shown() { green && [ "$COUNT" -ge 20000 ]; }
boxes_hidden() { green && [ "$COUNT" -lt 200 ]; }
status_differs() { # PICTURE: the window's status line is not the picture's
    [ "$(differing_pixels 0 "$1" "window:$WINDOW" 768x24+16+6)" -gt 0 ]
}

start_game "$WORK" --record "$WORK/walk.vrp"
await_window
hold 1.0 d
hold 0.1 j
sleep 3
xdotool key Escape
await_exit 60
recorded=$(match_end)

# The replay lasts about 5 s.
start_game "$WORK" --replay "$WORK/walk.vrp"
await_window
hold 0.2 F3
eventually 30 boxes_shown || fail "no green body boxes after F3 over a replay ($COUNT)"
hold 0.2 F1
eventually 30 boxes_hidden || fail "boxes still shown after F1 over a replay ($COUNT)"
hold 0.2 F2
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after the replay: $(cat "$WORK/stderr")"
[ "$(match_end)" = "$recorded" ] || fail "replayed '$(match_end)', recorded '$recorded'"

start_game "$WORK" --training --replay "$WORK/walk.vrp"
await_window
# The status line counts the replay's steps until its end, where it stands still.
capture "$WORK/ended.xwd"
for i in $(seq 1 100); do
    sleep 0.3
    status_differs "$WORK/ended.xwd" || break
    capture "$WORK/ended.xwd"
done
xdotool key F7
eventually 30 status_differs "$WORK/ended.xwd" || fail "F7 at the replay's end changed nothing"
sleep 0.3
status_differs "$WORK/ended.xwd" || fail "F7 at the replay's end did not stay one step back"
xdotool key Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape in the lab"
echo "ok"
