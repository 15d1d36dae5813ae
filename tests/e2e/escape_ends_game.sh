#!/usr/bin/env bash
# Started from an unrelated working directory, the game opens its 800 by 600 window, and
# Escape ends it with status 0, its log written where it was started.
source "$(dirname "$0")/lib.bash"

start_game "$WORK"
await_window
geometry=$(xdotool getwindowgeometry "$WINDOW")
grep -q 'Geometry: 800x600' <<<"$geometry" || fail "window geometry: $geometry"

hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
grep -q '\*\*\* Initializing OIS \*\*\*' "$WORK/Ogre.log" || fail "no OIS start line in Ogre.log"
grep -q '\*\*\* Shutting down OIS \*\*\*' "$WORK/Ogre.log" || fail "no OIS shutdown line in Ogre.log"
[ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr"
echo "ok"
