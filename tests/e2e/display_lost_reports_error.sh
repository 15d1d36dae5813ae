#!/usr/bin/env bash
# The display server dies under the running game: the game ends at once with its own report
# and status 1, not with Xlib's text.
source "$(dirname "$0")/lib.bash"

start_display
export DISPLAY=:$DISPLAY_NUMBER
start_game
await_window
stop_display
await_exit 5
[ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS after the display died"
grep -q '^An exception has occurred!$' "$WORK/stderr" || fail "no report title"
grep -q "connection to the X display ':$DISPLAY_NUMBER' was lost" "$WORK/stderr" ||
    fail "the report does not name the lost display"
echo "ok"
