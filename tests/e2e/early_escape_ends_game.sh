#!/usr/bin/env bash
# Escape tapped the moment the window shows ends the game, 20 runs in a row; Escape held from
# before the launch ends it too.
source "$(dirname "$0")/lib.bash"

# Waits for the window without the usual pause: the keyboard listens before the window shows.
await_visible() {
    local i
    for i in $(seq 1 1000); do
        WINDOW=$(xdotool search --onlyvisible --name '^Vorrak projekt$' 2>/dev/null | head -n 1 || true)
        [ -n "$WINDOW" ] && return
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.01
    done
    fail "no window titled 'Vorrak projekt' appeared"
}

for run in $(seq 1 20); do
    start_game
    await_visible
    xdotool windowfocus "$WINDOW" key Escape
    await_exit 5
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape in run $run"
done

xdotool keydown Escape
start_game
await_exit 10
xdotool keyup Escape
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS with Escape held from the launch"
echo "ok"
