#!/usr/bin/env bash
# Escape tapped the moment the window shows ends the game, 10 runs in a row; Escape held from
# before the launch ends it too.
source "$(dirname "$0")/lib.bash"

# The window is tapped the moment it shows, without await_window's pause: the keyboard listens
# before the window shows.
for run in $(seq 1 10); do
    start_game
    await_visible
    xdotool windowfocus "$WINDOW" key Escape
    await_exit 60
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape in run $run"
done

xdotool keydown Escape
start_game
await_exit 60
xdotool keyup Escape
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS with Escape held from the launch"
echo "ok"
