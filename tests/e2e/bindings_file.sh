#!/usr/bin/env bash
# Bindings files: what --print-bindings prints reads back the same; bad files end the program
# with one line and status 2 before its window opens; the user's file moves the first
# player's punch to U, so U lands a punch and J does nothing.
source "$(dirname "$0")/lib.bash"

"$GAME" --print-bindings >"$WORK/defaults.cfg" || fail "--print-bindings exited $?"
"$GAME" --bindings "$WORK/defaults.cfg" --print-bindings >"$WORK/again.cfg" ||
    fail "the printed bindings do not read back"
cmp -s "$WORK/defaults.cfg" "$WORK/again.cfg" || fail "the printed bindings read back differently"

mkdir -p "$XDG_CONFIG_HOME/vorrak"
sed '0,/^punch = J pad:a$/s//punch = U pad:a/' "$WORK/defaults.cfg" >"$XDG_CONFIG_HOME/vorrak/bindings.cfg"
grep -q '^punch = U pad:a$' "$XDG_CONFIG_HOME/vorrak/bindings.cfg" || fail "no punch line to move"
"$GAME" --print-bindings >"$WORK/moved.cfg"
cmp -s "$XDG_CONFIG_HOME/vorrak/bindings.cfg" "$WORK/moved.cfg" || fail "the user's file is not in force"

# Each bad file: status 2, one line naming the file (and the line), no engine started.
mkdir -p "$WORK/bad" "$WORK/folder.cfg"
sed 's/^kick = K pad:b$/kick = J pad:b/' "$WORK/defaults.cfg" >"$WORK/twice.cfg"
for bad in "twice.cfg:10: 'J' is bound twice" "folder.cfg: is a directory"; do
    file=${bad%%:*}
    status=0
    (cd "$WORK/bad" && "$GAME" --bindings "$WORK/$file") >/dev/null 2>"$WORK/error" || status=$?
    [ "$status" -eq 2 ] || fail "--bindings $file exited $status, not 2"
    [ "$(wc -l <"$WORK/error")" -eq 1 ] || fail "--bindings $file: not one line: $(cat "$WORK/error")"
    grep -qF "vorrak: $WORK/$bad" "$WORK/error" || fail "--bindings $file said: $(cat "$WORK/error")"
    [ ! -e "$WORK/bad/Ogre.log" ] || fail "--bindings $file started the engine"
done
status=0
(cd "$WORK/bad" && "$GAME" --bindings "") >/dev/null 2>"$WORK/error" || status=$?
[ "$status" -eq 2 ] && [ "$(cat "$WORK/error")" = "vorrak: --bindings: the file name is empty" ] ||
    fail "--bindings '' exited $status, saying: $(cat "$WORK/error")"
[ ! -e "$WORK/bad/Ogre.log" ] || fail "--bindings '' started the engine"

# The second player's health readout, lower right, changed since the picture taken before.
health_changed() {
    COUNT=$(differing_pixels 8 "$WORK/before.xwd" "window:$WINDOW" 160x60+480+470)
    [ "$COUNT" -ge 20 ]
}

start_game
await_window
hold 0.9 d
capture "$WORK/before.xwd"
xdotool key j
# A punch lands 15 steps after the press.
sleep 1.2
! health_changed || fail "J, no longer bound, changed the second player's health"
xdotool key u
eventually 30 health_changed || fail "U, now the punch, did not land ($COUNT)"
xdotool key Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
grep -q 'health 1000 / 950$' "$WORK/Ogre.log" || fail "not one punch landed: $(grep 'Match ended' "$WORK/Ogre.log")"
echo "ok"
