#!/usr/bin/env bash
# The front door's settings and keys: a damaged settings file leaves the defaults, one line in
# the log and the file kept as settings.cfg.bad; the first player's punch changed to U in
# Settings, written to the bindings file; a versus match where U punches, which stands still
# while paused, resumes, starts again from the pause menu and quits to the title. Its recording
# plays back with the punch in it.
source "$(dirname "$0")/front_door_lib.bash"

mkdir -p "$XDG_CONFIG_HOME/vorrak"
echo 'volume = "loud"' >"$XDG_CONFIG_HOME/vorrak/settings.cfg"
start_game "$WORK" --menu
await_window
grep -q '^[0-9:]*: Settings: .*defaults are in force' "$GAME_LOG" ||
    fail "the damaged settings file is not told in the log"
[ "$(cat "$XDG_CONFIG_HOME/vorrak/settings.cfg.bad")" = 'volume = "loud"' ] ||
    fail "the damaged settings file was not kept as settings.cfg.bad"
await_menus "no title screen"

# Settings, Player 1 keys, Punch, then U.
press Down Down Down Down Down Return Down Down Down Down Down Return Down Down Down Down Return
press u
eventually 10 grep -qx 'punch = U pad:a' "$XDG_CONFIG_HOME/vorrak/bindings.cfg" ||
    fail "the new punch key was not written: $(cat "$XDG_CONFIG_HOME/vorrak/bindings.cfg")"
press Escape Escape

# Versus: both confirm, the dojo; the first player walks in and punches with U.
first_row
press Return u KP_1 Down Return
await_scene "versus"
await_match
# Walking in for longer than the round's announcement holds the players: they meet either way.
hold 3.0 d
press u
sleep 1.2
press Escape
eventually 10 menu_shown || fail "no pause menu in the versus match"
capture "$WORK/paused-a.xwd"
sleep 0.5
[ "$(differing_pixels 3 "$WORK/paused-a.xwd" "window:$WINDOW" 800x600+0+0)" -eq 0 ] ||
    fail "the match moved while paused"
press Return
await_match "Resume"
press Escape Down Return
await_scene "versus"
await_match "the rematch"
press Escape Down Down Down Down Down Return
await_scene "the menus"
await_menus "no title after the rematch"
press Escape Down Return
await_exit 30
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Quit"

# The first match played back in full by --replay, as recorded (exit 0), with the punch.
versus=$(ls -tr "$REPLAYS"/*.vrp | head -n 1)
mkdir "$WORK/replay"
start_game "$WORK/replay" --replay "$versus"
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "the versus recording did not play back (exit $EXIT_STATUS)"
grep -q 'Match ended: .*health 1000 / 950' "$GAME_LOG" ||
    fail "the punch with U is not in the recording: $(grep 'Match ended' "$GAME_LOG")"
echo "ok"
