#!/usr/bin/env bash
# Another program destroys the game's window outright (no close request), at different moments
# after it appeared: the game ends within 5 s every time, in order (status 0) or with its own
# report of the lost window (status 1), never hanging and never by a signal.
source "$(dirname "$0")/lib.bash"

for delay in 0 0.3 0.7 1.5; do
    start_game
    await_window
    sleep "$delay"
    xdotool windowclose "$WINDOW"
    await_exit 60
    case $EXIT_STATUS in
        0) grep -q '\*\*\* Shutting down OIS \*\*\*' "$WORK/Ogre.log" || fail "no orderly shutdown" ;;
        1) grep -q '^An exception has occurred!$' "$WORK/stderr" || fail "status 1 without the report" ;;
        *) fail "exit status $EXIT_STATUS after the window was destroyed ($delay s)" ;;
    esac
done
echo "ok"
