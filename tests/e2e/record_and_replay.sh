#!/usr/bin/env bash
# A match recorded through real key presses (a walk, a punch that lands, F3, Escape) plays
# back by itself in the window to the same final state, exit 0. A recording ended by closing
# the window or by a signal is complete too and plays back to its last step. A versus
# recording plays back as versus, walls included, without being told. (Those three are
# checked on the rules, beside the test.)
source "$(dirname "$0")/lib.bash"

match_end() {
    grep -o 'Match ended: .*' "$WORK/Ogre.log" || fail "no 'Match ended' line in Ogre.log"
}

start_game "$WORK" --record "$WORK/punch.vrp"
await_window
capture "$WORK/unhurt.xwd"
hold 1.0 d
hold 0.1 j
eventually 60 second_health_changed "$WORK/unhurt.xwd" || fail "the punch was never shown landing"
hold 0.1 F3
hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after recording"
[ -s "$WORK/punch.vrp" ] || fail "no replay file"
! compgen -G "$WORK/punch.vrp.recording-*" >/dev/null || fail "the temporary file was left behind"
recorded=$(match_end)
grep -q 'health 1000 / 950$' <<<"$recorded" || fail "the punch did not land: $recorded"

start_game "$WORK" --replay "$WORK/punch.vrp"
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after the replay"
[ "$(match_end)" = "$recorded" ] || fail "replayed '$(match_end)', recorded '$recorded'"
[ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr"

# replays_as_recorded FILE: the recording ends on the match the game logged, and plays back
# to it.
replays_as_recorded() {
    grep -q "Match ended: checksum $(final_checksum "$1")," "$WORK/Ogre.log" ||
        fail "$1 ends elsewhere than '$(match_end)'"
    check_recording "$1"
}

start_game "$WORK" --record "$WORK/versus.vrp" --versus --rounds 5
await_window
hold 2.5 a Left
hold 0.1 j
sleep 0.5
hold 0.3 Escape
await_exit 60
replays_as_recorded "$WORK/versus.vrp"

start_game "$WORK" --record "$WORK/closed.vrp"
await_window
hold 0.5 a
"$WM_CLOSE" "$WINDOW"
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after the close request"
replays_as_recorded "$WORK/closed.vrp"

start_game "$WORK" --record "$WORK/signalled.vrp"
await_window
hold 0.5 d
kill -TERM "$GAME_PID"
await_exit 60
[ "$EXIT_STATUS" -eq 143 ] || fail "exit status $EXIT_STATUS after SIGTERM while recording"
replays_as_recorded "$WORK/signalled.vrp"
await_recordings
echo "ok"
