#!/usr/bin/env bash
# The replay list of the front door: of two recordings, the newest is deleted after saying yes
# and the other is kept; nothing else in the folder is touched.
source "$(dirname "$0")/front_door_lib.bash"

DATA=$(dirname "$0")/../data/replays
mkdir -p "$REPLAYS"
cp "$DATA/versus-cpu8.vrp" "$REPLAYS/2024-05-01_10-00-00.vrp"
cp "$DATA/open-fight-cpu6.vrp" "$REPLAYS/2024-05-02_10-00-00.vrp"
touch -d '2024-05-01 10:00' "$REPLAYS/2024-05-01_10-00-00.vrp"
touch -d '2024-05-02 10:00' "$REPLAYS/2024-05-02_10-00-00.vrp"
echo "not a recording" >"$REPLAYS/notes.txt"

start_game "$WORK" --menu
await_window
await_menus "no title screen"
press Down Down Down Down Return
await_menus "no replay list"
capture "$WORK/replays.xwd"
keep_shot "$WORK/replays.xwd" replays
# The newest: Delete, then Yes.
press Return Down Down Down Return Down Return
eventually 10 test ! -e "$REPLAYS/2024-05-02_10-00-00.vrp" || fail "the newest recording is still there"
[ -f "$REPLAYS/2024-05-01_10-00-00.vrp" ] || fail "the delete took the other recording"
[ -f "$REPLAYS/notes.txt" ] || fail "the delete took a file that is no recording"
press Escape Escape Down Return
await_exit 30
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Quit"
echo "ok"
