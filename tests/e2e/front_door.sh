#!/usr/bin/env bash
# One session of vorrak --menu in one window: the title, a versus match of one round played to
# its end and its menu, the title, a match against the computer and its pause menu, the title,
# the replay of that match played to its end, the lab and back to the title, then Quit. The
# window is the same X window throughout and the log one file holding every scene.
source "$(dirname "$0")/front_door_lib.bash"

# Matches of one round, as kept in the settings.
mkdir -p "$XDG_CONFIG_HOME/vorrak"
echo 'rounds = 1' >"$XDG_CONFIG_HOME/vorrak/settings.cfg"
start_game "$WORK" --menu
await_window
await_menus "no title screen"
capture "$WORK/title.xwd"
keep_shot "$WORK/title.xwd" title-screen

# Versus: both confirm, the dojo; the first player punches the second until the match ends,
# which offers Rematch, Fighter select and Title; Title.
press Return j KP_1 Down Return
await_scene "versus"
await_match
# Walking in for longer than the round's announcement holds the players: they meet either way.
hold 3.0 d
# Punches until the game says the match is won, then the end's menu, which listens after a
# moment.
for punch in $(seq 1 60); do
    grep -q '^vorrak: Player 1 wins 1-0$' "$WORK/stdout" && break
    press j
    sleep 0.5
done
grep -q '^vorrak: Player 1 wins 1-0$' "$WORK/stdout" || fail "the match did not end: $(cat "$WORK/stdout")"
eventually 10 menu_shown || fail "no menu at the end of the match"
press Down Down Return
await_scene "the menus"
await_menus "no title after the match's end"

# Versus the computer: Fight, the first player's fighter, the dojo; paused, quit to title.
first_row
press Down Return Return j Down Return
await_scene "versus the computer"
await_match
press Escape
eventually 10 menu_shown || fail "Escape showed no pause menu"
press Down Down Down Down Down Return
await_scene "the menus"
await_menus "quit to title showed no title"

# Replays: the newest, the match against the computer, played to its end, back in the list.
first_row
press Down Down Down Down Return
await_menus "no replay list"
press Return Return
await_scene "a replay"
await_match "the replay"
await_scene "the menus"
await_menus "the replay did not end back in the list"

# The lab: Training, the first player on Brann, both confirm, the dojo; back to the title from
# its pause menu.
press Escape
first_row
press Down Down Return a
capture "$WORK/select.xwd"
keep_shot "$WORK/select.xwd" fighter-select
press j KP_1 Down Return
await_scene "training"
await_match "training"
press Escape Down Down Down Down Down Return
await_scene "the menus"
await_menus "no title after training"

# The move list, from the title, and back.
first_row
press Down Down Down Down Down Down Return
await_menus "no move list"
capture "$WORK/moves.xwd"
keep_shot "$WORK/moves.xwd" moves
press Escape

press Escape Down Return
await_exit 30
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Quit"
[ "$(grep -c '^[0-9:]*: Front door: scene [0-9]*, ' "$GAME_LOG")" -eq "$SCENE" ] ||
    fail "the log does not hold all $SCENE scenes: $(grep 'Front door: scene' "$GAME_LOG")"
# One engine for the session: it started once.
[ "$(grep -c 'Creating resource group General' "$GAME_LOG")" -eq 1 ] ||
    fail "the engine started more than once"
echo "ok"
