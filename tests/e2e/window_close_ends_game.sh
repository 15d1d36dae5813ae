#!/usr/bin/env bash
# Closing the window the way a window manager does ends the game with status 0.
source "$(dirname "$0")/lib.bash"

start_game
await_window
"$WM_CLOSE" "$WINDOW"
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after the close request"
grep -q '\*\*\* Shutting down OIS \*\*\*' "$WORK/Ogre.log" || fail "no orderly shutdown"
echo "ok"
