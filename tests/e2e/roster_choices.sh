#!/usr/bin/env bash
# The roster from the command line: --list names the fighters and stages of the media folder,
# an unknown name is a usage error naming the ones there are, online a choice that is not the
# side's to make (the host's --p2, the guest's --p1 or --stage, a spectator's any) is one too,
# and a versus match of the second
# fighter on the second stage plays and ends with Escape, its sprites and floor loaded from
# their own files.
source "$(dirname "$0")/lib.bash"

"$GAME" --list >"$WORK/list" || fail "--list failed"
[ "$(cat "$WORK/list")" = "$(printf 'fighter brann\nfighter sora\nstage courtyard\nstage dojo')" ] ||
    fail "--list printed: $(cat "$WORK/list")"

status=0
"$GAME" --p2 nobody >"$WORK/stdout" 2>"$WORK/stderr" || status=$?
[ "$status" -eq 2 ] || fail "an unknown fighter: exit status $status, expected 2"
grep -q "^vorrak: --p2: no fighter 'nobody' (there are brann, sora)$" "$WORK/stderr" ||
    fail "an unknown fighter: $(head -1 "$WORK/stderr")"
status=0
"$GAME" --stage moon >"$WORK/stdout" 2>"$WORK/stderr" || status=$?
[ "$status" -eq 2 ] && grep -q "no stage 'moon' (there are courtyard, dojo)" "$WORK/stderr" ||
    fail "an unknown stage: status $status, $(head -1 "$WORK/stderr")"

expect_refused "--host --p2 brann" "--join h --p1 brann" "--join h --stage courtyard" \
    "--watch h --p2 sora"

start_game "$WORK" --versus --p1 brann --p2 sora --stage courtyard
await_window
hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
for image in BrannIdle1.png Courtyard.png Idle1.png; do
    grep -q "Texture '$image': Loading" "$WORK/Ogre.log" || fail "$image was not loaded"
done
[ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr"
echo "ok"
