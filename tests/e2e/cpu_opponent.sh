#!/usr/bin/env bash
# The computer opponent: the arena runs with no display and ends on its result line, two of one
# level told apart by side; bad levels, seeds and online play are usage errors, a bad seed named
# in one line; in a one-round versus match it knocks out a player who
# touches no key, with "CPU 8" under its health, and Escape ends the game with status 0; the
# recording of that match plays back to the same end without it, and the sync test agrees with
# it.
source "$(dirname "$0")/lib.bash"

env -u DISPLAY "$GAME" --arena 8 script --matches 2 --rounds 1 >"$WORK/arena" 2>&1 ||
    fail "the arena exited $?: $(cat "$WORK/arena")"
tail -n 1 "$WORK/arena" | grep -qE '^arena: 8 won [0-9]+, script won [0-9]+, draws [0-9]+ of 2 matches$' ||
    fail "the arena's last line: $(tail -n 1 "$WORK/arena")"
[ "$(grep -c '^match ' "$WORK/arena")" -eq 2 ] || fail "not one line per match: $(cat "$WORK/arena")"
env -u DISPLAY "$GAME" --arena 3 3 --matches 2 --rounds 1 --seed 18446744073709551615 \
    >"$WORK/arena" 2>&1 || fail "the arena exited $?: $(cat "$WORK/arena")"
tail -n 1 "$WORK/arena" | grep -qE '^arena: 3 \(left\) won [0-9]+, 3 \(right\) won [0-9]+, draws [0-9]+ of 2 matches$' ||
    fail "the arena's last line for one level: $(tail -n 1 "$WORK/arena")"

expect_refused "--cpu 0" "--cpu 9" "--cpu x" "--cpu 3 --host" "--cpu 3 --join localhost" \
    "--cpu-player 1" "--cpu 3 --cpu-player 3" "--cpu 3 --training --cpu-player 1" \
    "--arena 9 1" "--arena 1" "--arena 1 2 --versus" "--matches 5" "--seed 5" "--cpu 2 --seed -1" \
    "--arena 1 2 --matches 0" "--cpu 2 --seed 18446744073709551616" "--cpu 2 --seed 0x10" \
    "--cpu 2 --seed 1e3" "--arena 1 2 --seed +5"
"$GAME" --cpu 2 --seed 18446744073709551616 2>"$WORK/usage" >/dev/null || true
[ "$(head -n 1 "$WORK/usage")" = "vorrak: --seed: '18446744073709551616' is not a whole number from 0 to 18446744073709551615" ] ||
    fail "a seed out of range was told as: $(head -n 1 "$WORK/usage")"
for none in "--cpu 2 --seed=" "--cpu 2 --seed" "--seed= --cpu 2"; do
    expect_refused "$none"
    [ "$(head -n 1 "$WORK/usage")" = "vorrak: --seed: a seed is a whole number from 0 to 18446744073709551615; none was given" ] ||
        fail "'$none' was told as: $(head -n 1 "$WORK/usage")"
done

RESULT="vorrak: Player 2 wins 1-0"
start_game "$WORK" --versus --rounds 1 --cpu 8 --record "$WORK/cpu.vrp"
await_window
# Under the second fighter's health, the label; under the first's, nothing.
differing=$(differing_pixels 20 "window:$WINDOW" "window:$WINDOW" 160x30+480+561 +160+561)
[ "$differing" -ge 40 ] || fail "no 'CPU 8' under the second health ($differing pixels)"
for second in $(seq 1 90); do
    grep -qx "$RESULT" "$WORK/stdout" && break
    sleep 1
done
grep -qx "$RESULT" "$WORK/stdout" || fail "no '$RESULT' on stdout: $(cat "$WORK/stdout")"
hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
grep -q "Computer opponent: level 8 plays fighter 2, seed 1" "$WORK/Ogre.log" ||
    fail "no computer opponent in Ogre.log"

grep -q "Match ended: checksum $(final_checksum "$WORK/cpu.vrp")," "$WORK/Ogre.log" ||
    fail "the recording ends elsewhere than the match: $(grep 'Match ended' "$WORK/Ogre.log")"
check_recording "$WORK/cpu.vrp"

start_game "$WORK" --sync-test 8 --versus --cpu 8
await_window
sleep 3
hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after the sync test"
[ ! -s "$WORK/stderr" ] || fail "the sync test reported: $(cat "$WORK/stderr")"
await_recordings
echo "ok"
