#!/usr/bin/env bash
# SIGINT, SIGTERM and SIGHUP end the game as Escape does: the loop ends, the game is torn down
# in order and logs its shutdown, and the exit status is 128 plus the signal's number. A
# SIGTERM at any moment of start-up, from 10 ms after the launch on, ends it the same way, at
# once until the match exists, even when start-up is stuck.
source "$(dirname "$0")/lib.bash"

for signal in INT TERM HUP; do
    start_game
    await_window
    kill -s "$signal" "$GAME_PID"
    await_exit 60
    expected=$((128 + $(kill -l "$signal")))
    [ "$EXIT_STATUS" -eq "$expected" ] || fail "exit status $EXIT_STATUS after SIG$signal"
    grep -q "Ending on signal $(kill -l "$signal")" "$WORK/Ogre.log" || fail "SIG$signal not logged"
    grep -q '\*\*\* Shutting down OIS \*\*\*' "$WORK/Ogre.log" || fail "no orderly shutdown"
    [ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr after SIG$signal"
done
for delay in 0.01 0.05 0.1 0.2 0.3 0.4; do
    start_game
    sleep "$delay"
    kill -TERM "$GAME_PID"
    await_exit 60
    [ "$EXIT_STATUS" -eq 143 ] || fail "exit status $EXIT_STATUS after SIGTERM at $delay s"
    [ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr after SIGTERM at $delay s"
done
# A start-up that is stuck (here on a display server that does not answer) has nothing to
# finish: SIGTERM ends it at once.
start_display
kill -STOP "$XVFB_PID"
DISPLAY=:$DISPLAY_NUMBER start_game
sleep 1
kill -0 "$GAME_PID" || fail "the game did not wait for the stopped display"
kill -TERM "$GAME_PID"
await_exit 60
kill -CONT "$XVFB_PID"
stop_display
[ "$EXIT_STATUS" -eq 143 ] || fail "exit status $EXIT_STATUS after SIGTERM to a stuck start-up"
echo "ok"
