#!/usr/bin/env bash
# SIGINT, SIGTERM and SIGHUP end the game as Escape does: the loop ends, the game is torn down
# in order and logs its shutdown, and the exit status is 128 plus the signal's number.
source "$(dirname "$0")/lib.bash"

for signal in INT TERM HUP; do
    start_game
    await_window
    kill -s "$signal" "$GAME_PID"
    await_exit 5
    expected=$((128 + $(kill -l "$signal")))
    [ "$EXIT_STATUS" -eq "$expected" ] || fail "exit status $EXIT_STATUS after SIG$signal"
    grep -q "Ending on signal $(kill -l "$signal")" "$WORK/Ogre.log" || fail "SIG$signal not logged"
    grep -q '\*\*\* Shutting down OIS \*\*\*' "$WORK/Ogre.log" || fail "no orderly shutdown"
    [ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr after SIG$signal"
done
echo "ok"
