#!/usr/bin/env bash
# A short fight played through the keyboard: the first player walks in and punches, the
# second is hit; the debug displays are switched on and off; Escape ends the game cleanly.
# The window is looked at as it changes; its pictures are kept in $SCREENSHOTS if set.
source "$(dirname "$0")/lib.bash"

# Each check looks at the window as it is now and keeps the count in COUNT.
health_changed() { # The second player's readout (lower right) is no longer 1000: 5% of it.
    COUNT=$(differing_pixels 8 "$WORK/1-start.xwd" "window:$WINDOW" 160x60+480+470)
    [ "$COUNT" -ge 480 ]
}
green() { COUNT=$(dominant_pixels "window:$WINDOW" 800x400+0+100 g); }
boxes_shown() { green && [ "$COUNT" -ge 20000 ]; }
boxes_hidden() { green && [ "$COUNT" -lt 200 ]; }
# Under the green boxes the headbands lose their red: what is red then is the punch box.
punch_box_out() {
    COUNT=$(dominant_pixels "window:$WINDOW" 800x400+0+100 r)
    [ "$COUNT" -ge $((red_without + 400)) ]
}
panel_filled() { # 2% of the first player's panel.
    COUNT=$(differing_pixels 8 "$WORK/5-hidden.xwd" "window:$WINDOW" 240x200+80+60)
    [ "$COUNT" -ge 960 ]
}

start_game
await_window
capture "$WORK/1-start.xwd"

# Player one walks in and punches; the punch lands 15 steps after the press.
hold 0.9 d
hold 0.1 j
eventually 30 health_changed || fail "the second player's health readout did not change ($COUNT)"
capture "$WORK/2-punch.xwd"
sleep 1

# F3 shows the boxes, F1 removes them again; the punch box is out for a third of a second
# from a quarter second after the press.
hold 0.2 F3
eventually 30 boxes_shown || fail "no green body boxes after F3 ($COUNT)"
capture "$WORK/3-hitboxes.xwd"
red_without=$(dominant_pixels "$WORK/3-hitboxes.xwd" 800x400+0+100 r)
# The box is out for a third of a second: pressed again until a look catches it, however slowly
# the looks come on a busy machine.
punch_caught() {
    xdotool key j
    eventually 1 punch_box_out
}
eventually 60 punch_caught || fail "no red punch box while punching ($COUNT, $red_without before)"
capture "$WORK/4-punch-boxes.xwd"
hold 0.2 F1
eventually 30 boxes_hidden || fail "boxes still shown after F1 ($COUNT)"
capture "$WORK/5-hidden.xwd"

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
eventually 30 panel_filled || fail "no input rows in the first player's panel after F2 ($COUNT)"
capture "$WORK/6-input-panels.xwd"

hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
grep -q '\*\*\* Shutting down OIS \*\*\*' "$WORK/Ogre.log" || fail "no orderly shutdown"
for shot in 1-start 2-punch 3-hitboxes 4-punch-boxes 5-hidden 6-input-panels; do
    keep_shot "$WORK/$shot.xwd" "$shot"
done
echo "ok"
