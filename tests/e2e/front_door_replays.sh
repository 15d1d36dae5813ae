#!/usr/bin/env bash
# The replay list of the front door: of two recordings, the newest is deleted after saying yes
# and the other is kept; nothing else in the folder is touched. Then, with eleven recordings, a
# smaller "Replays kept" that would delete some asks first: No keeps the limit, Yes sets it.
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
press Escape

# Eleven recordings: Settings, Replays kept from 200 down by 100, 50 and 20 to 10, which asks.
for day in 03 04 05 06 07 08 09 10 11 12; do
    cp "$DATA/versus-cpu8.vrp" "$REPLAYS/2024-05-${day}_10-00-00.vrp"
done
limit() { grep -q "^replay_limit = $1\$" "$XDG_CONFIG_HOME/vorrak/settings.cfg" 2>/dev/null; }
first_row
press Down Down Down Down Down Return Down Down Down Down Left Left Left
eventually 10 limit 20 || fail "Replays kept did not come down to 20"
press Left Return
sleep 0.5
limit 20 || fail "No did not keep 20 replays"
press Left Down Return
eventually 10 limit 10 || fail "Yes did not set 10 replays"
[ "$(find "$REPLAYS" -name '*.vrp' | wc -l)" -eq 11 ] || fail "recordings went before a match"
press Escape Escape Down Return
await_exit 30
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Quit"
echo "ok"
