#!/usr/bin/env bash
# Damaged player's files and the menus: with --menu a damaged bindings file opens the title with
# the game's own keys, and the title says what is wrong under its rows, as it does
# for a damaged settings file; the bindings file stays as it was. Without --menu the bindings
# file still ends the program with status 2.
source "$(dirname "$0")/front_door_lib.bash"

mkdir -p "$XDG_CONFIG_HOME/vorrak"
BINDINGS=$XDG_CONFIG_HOME/vorrak/bindings.cfg
printf '[player1]\nup = NoSuchKey\n' >"$BINDINGS"
before=$(md5sum <"$BINDINGS")
status=0
"$GAME" >/dev/null 2>"$WORK/refused" || status=$?
[ "$status" -eq 2 ] || fail "the damaged bindings file without --menu exited $status, not 2"

# Words in the colour of what is wrong under the title's rows, where an intact title has none.
said_under_rows() {
    [ "$("$PIXELS" between 235,130,90 255,170,130 "window:$WINDOW" 760x100+20+500)" -gt 100 ]
}

start_game "$WORK" --menu
await_window
await_menus "no title with a damaged bindings file"
grep -q "Keys: .*bindings.cfg" "$GAME_LOG" || fail "the bindings file's damage is not in the log"
eventually 10 said_under_rows || fail "the title does not say what is wrong"
press Escape Down Return
await_exit 30
[ "$(md5sum <"$BINDINGS")" = "$before" ] || fail "the damaged bindings file was changed"

# An intact title says nothing there; a damaged settings file is said as well.
rm "$BINDINGS"
start_game "$WORK" --menu
await_window
await_menus
! said_under_rows || fail "an intact title has words under its rows"
press Escape Down Return
await_exit 30
echo 'rounds = "many"' >"$XDG_CONFIG_HOME/vorrak/settings.cfg"
start_game "$WORK" --menu
await_window
await_menus
eventually 10 said_under_rows || fail "the title does not say the settings file is damaged"
press Escape Down Return
await_exit 30
echo "ok"
