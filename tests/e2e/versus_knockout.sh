#!/usr/bin/env bash
# A one-round versus match played to a KO with real keys: the first player walks up to the
# second, who stands still, and punches until its health is gone (20 punches). The banner
# names the winner, the result line comes on stdout and into Ogre.log, and Escape ends the game
# with status 0. Its pictures are kept in $SCREENSHOTS if set.
source "$(dirname "$0")/lib.bash"

RESULT="vorrak: Player 1 wins 1-0"
# The winner's banner lies across the middle of the window.
banner_shown() {
    COUNT=$(differing_pixels 8 "$WORK/versus-start.xwd" "window:$WINDOW" 600x140+100+170)
    [ "$COUNT" -ge 2000 ]
}

start_game "$WORK" --versus --rounds 1
await_window
# The round is announced for a second and a half before the players may move.
sleep 2
capture "$WORK/versus-start.xwd"
hold 1.2 d
# A punch takes 56 steps; a press while one runs is not kept, so press often until the result
# comes (20 hits, about 20 seconds, and two more for the KO's banner).
for tap in $(seq 1 480); do
    grep -qx "$RESULT" "$WORK/stdout" && break
    xdotool key j
    sleep 0.25
done
grep -qx "$RESULT" "$WORK/stdout" || fail "no '$RESULT' on stdout: $(cat "$WORK/stdout")"
eventually 30 banner_shown || fail "no banner across the window ($COUNT pixels changed)"
capture "$WORK/versus-result.xwd"
keep_shot "$WORK/versus-start.xwd" versus-start
keep_shot "$WORK/versus-result.xwd" versus-result

hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
grep -qx "$RESULT" "$WORK/stdout" || fail "stdout: $(cat "$WORK/stdout")"
[ "$(wc -l <"$WORK/stdout")" -eq 1 ] || fail "more than the result on stdout: $(cat "$WORK/stdout")"
grep -q "$RESULT" "$WORK/Ogre.log" || fail "no result in Ogre.log"
echo "ok"
