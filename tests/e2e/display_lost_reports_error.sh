#!/usr/bin/env bash
# The display server dies under the running game: the game ends at once with its own report
# and status 1, not with Xlib's text. Killed at moments of start-up, it gets one report.
source "$(dirname "$0")/lib.bash"

start_display
export DISPLAY=:$DISPLAY_NUMBER
start_game
await_window
stop_display
await_exit 60
[ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS after the display died"
grep -q '^An exception has occurred!$' "$WORK/stderr" || fail "no report title"
grep -q "connection to the X display ':$DISPLAY_NUMBER' was lost" "$WORK/stderr" ||
    fail "the report does not name the lost display"
# Killed once start-up reached a line of the log: the resources, the keyboard. (The moments
# before the render system started are left out: the GL driver itself may crash there.)
for line in 'Parsing scripts for resource group General' '\*\*\* Initializing OIS \*\*\*'; do
    start_display
    rm -f "$WORK/Ogre.log"
    DISPLAY=:$DISPLAY_NUMBER start_game
    for i in $(seq 1 6000); do
        grep -q "$line" "$WORK/Ogre.log" 2>/dev/null && break
        sleep 0.01
    done
    stop_display
    await_exit 60
    [ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS, display killed at '$line'"
    [ "$(grep -c '^An exception has occurred!$' "$WORK/stderr")" -eq 1 ] ||
        fail "not one report, display killed at '$line': $(cat "$WORK/stderr")"
done
echo "ok"
