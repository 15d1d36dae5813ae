#!/usr/bin/env bash
# The front door through its keys, in one run of vorrak --menu: a damaged settings file leaves
# the defaults, one line in the log and the file kept as settings.cfg.bad; the first player's
# punch changed to U in Settings, written to the bindings file; a match against the computer
# and back to the title; a versus match where U punches, paused and resumed, a rematch from the
# pause menu and quit to title; a replay found in the list and played to its end, another
# deleted; a match of one round to its end and its menu; training and back; Quit after asking;
# the session's one log holding every run.
# The versus match's recording then plays back with the punch in it.
source "$(dirname "$0")/lib.bash"
export XDG_DATA_HOME="$WORK/data"
REPLAYS=$XDG_DATA_HOME/vorrak/replays

# Taps keys one step apart or more, each seen on a step of its own.
press() {
    local key
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.12
    done
}

# The yellow edge of the row in focus: a menu is shown.
menu_shown() {
    [ "$("$PIXELS" between 230,190,60 255,235,120 "window:$WINDOW" 6x440+170+150)" -gt 100 ]
}
no_menu() { ! menu_shown; }

# To the first row of a page that shows again with the row it had.
first_row() { press Up Up Up Up Up Up; }

# The next run of the game (a match, the menus again), each telling its number first in a log
# of its own: its window shown, focused and stepping.
RUN=1
await_next_run() {
    RUN=$((RUN + 1))
    await_log "^[0-9:]*: Front door: run $RUN, $1\$" 30
    await_window
}

mkdir -p "$XDG_CONFIG_HOME/vorrak"
echo 'volume = "loud"' >"$XDG_CONFIG_HOME/vorrak/settings.cfg"
start_game "$WORK" --menu
await_window
grep -q '^[0-9:]*: Settings: .*defaults are in force' "$GAME_LOG" ||
    fail "the damaged settings file is not told in the log"
[ "$(cat "$XDG_CONFIG_HOME/vorrak/settings.cfg.bad")" = 'volume = "loud"' ] ||
    fail "the damaged settings file was not kept as settings.cfg.bad"
eventually 5 menu_shown || fail "no title screen"
capture "$WORK/title.xwd"
keep_shot "$WORK/title.xwd" title-screen

# Settings, Player 1 keys, Punch, then U.
press Down Down Down Down Down Return Down Down Down Down Down Return Down Down Down Down Return
sleep 0.3
press u
sleep 0.3
grep -qx 'punch = U pad:a' "$XDG_CONFIG_HOME/vorrak/bindings.cfg" ||
    fail "the new punch key was not written: $(cat "$XDG_CONFIG_HOME/vorrak/bindings.cfg")"
press Escape Escape

# Versus the computer, Sora (after Random and Brann): Fight, the player's fighter with the new
# punch key, the dojo.
first_row
press Down Return Down Down Down Right Right Up Up Up Return
press u
press Down Return
await_next_run "versus the computer"
eventually 5 no_menu || fail "the match against the computer shows a menu"
sleep 1
press Escape
eventually 5 menu_shown || fail "Escape showed no pause menu"
press Down Down Down Down Return
await_next_run "the menus"
eventually 5 menu_shown || fail "quit to title showed no title"

# Versus: both confirm, the dojo; the first player walks in and punches with U.
first_row
press Return u KP_1 Down Return
await_next_run "versus"
# The round's announcement holds the players for a second and a half.
sleep 1.6
hold 1.0 d
press u
sleep 1.2
press Escape
eventually 5 menu_shown || fail "no pause menu in the versus match"
capture "$WORK/paused-a.xwd"
sleep 0.5
[ "$(differing_pixels 3 "$WORK/paused-a.xwd" "window:$WINDOW" 800x600+0+0)" -eq 0 ] ||
    fail "the match moved while paused"
press Return
eventually 5 no_menu || fail "Resume left the menu shown"
press Escape Down Return
await_next_run "versus"
eventually 5 no_menu || fail "the rematch shows a menu"
press Escape Down Down Down Down Return
await_next_run "the menus"
eventually 5 menu_shown || fail "no title after the rematch"

# Replays: newest first, the rematch and then the versus match; the versus match played.
recordings=$(find "$REPLAYS" -name '*.vrp' | wc -l)
[ "$recordings" -ge 2 ] || fail "$recordings recordings in $REPLAYS"
versus=$(ls -t "$REPLAYS"/*.vrp | sed -n 2p)
first_row
press Down Down Down Down Return
sleep 0.3
capture "$WORK/replays.xwd"
keep_shot "$WORK/replays.xwd" replays
press Down Return Return
await_next_run "a replay"
eventually 5 no_menu || fail "the replay shows a menu"
await_next_run "the menus"
eventually 5 menu_shown || fail "the replay did not end back in the list"
# The newest (the rematch) deleted, after saying yes.
first_row
press Return Down Down Down Return Down Return
sleep 0.3
left=$(find "$REPLAYS" -name '*.vrp' | wc -l)
[ "$left" -eq $((recordings - 1)) ] || fail "$left recordings left of $recordings after a delete"
[ -f "$versus" ] || fail "the delete took the versus match's recording"
press Escape

# One round (Settings, Rounds from 3 down to 1): the first player punches the second until the
# match ends, which offers Rematch, Fighter select and Title; Title.
first_row
press Down Down Down Down Down Return Down Down Left Escape
first_row
press Return u KP_1 Down Return
await_next_run "versus"
hold 1.0 d
for punch in $(seq 1 40); do
    press u
    sleep 0.85
    ! menu_shown || break
done
menu_shown || fail "no menu at the end of the match"
grep -q '^vorrak: Player 1 wins 1-0$' "$WORK/stdout" || fail "the match did not end: $(cat "$WORK/stdout")"
press Down Down Return
await_next_run "the menus"
eventually 5 menu_shown || fail "no title after the match's end"

# Training: the first player takes Brann, both confirm, the courtyard; back to the title from
# its pause menu.
first_row
press Down Down Return a
sleep 0.3
capture "$WORK/select.xwd"
keep_shot "$WORK/select.xwd" fighter-select
press u KP_1 Return
await_next_run "training"
eventually 5 no_menu || fail "training shows a menu"
press Escape Down Down Down Down Return
await_next_run "the menus"
eventually 5 menu_shown || fail "no title after training"

press Escape Down Return
await_exit 20
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Quit"
# One log for the whole session, every run's lines after the last's.
[ "$(grep -c '^[0-9:]*: Front door: run [0-9]*, ' "$GAME_LOG")" -eq "$RUN" ] ||
    fail "the log does not hold all $RUN runs: $(grep 'Front door: run' "$GAME_LOG")"

# Played back in full by --replay, as recorded (exit 0), with the punch.
mkdir "$WORK/replay"
start_game "$WORK/replay" --replay "$versus"
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "the versus recording did not play back (exit $EXIT_STATUS)"
grep -q 'Match ended: .*health 1000 / 950' "$GAME_LOG" ||
    fail "the punch with U is not in the recording: $(grep 'Match ended' "$GAME_LOG")"
echo "ok"
