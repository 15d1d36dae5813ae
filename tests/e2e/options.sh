#!/usr/bin/env bash
# The command line: help and version exit 0, a wrong option exits 2 with the usage line, and
# the sync test (with vertical sync off) plays a fight, re-running every step, until Escape
# ends it with status 0.
source "$(dirname "$0")/lib.bash"

"$GAME" --help >"$WORK/help" || fail "--help exited $?"
grep -q -- '--sync-test' "$WORK/help" || fail "--help does not list --sync-test"
[ "$("$GAME" --version)" = "vorrak 0.1" ] || fail "--version printed $("$GAME" --version)"

expect_refused "--bogus" "--sync-test" "--sync-test 0" "--sync-test 9" "--sync-test x" \
    "--join-timeout 5" "--join h --join-timeout 0" "--host --timeout 0" "--timeout 5" \
    "--versus --rounds 0" "--versus --rounds 4" "--versus --rounds abc" "--rounds 3" \
    "--versus --frame-data" "--vsync" "--vsync maybe" \
    "--training --host" "--training --join localhost" "--training --sync-test 2" \
    "--training --record $WORK/lab.vrp" "--training --frame-data"

start_game "$WORK" --sync-test 8 --vsync off
await_window
hold 0.3 d Left
hold 0.1 j KP_1
hold 0.3 F2 F3
hold 0.5 s a
hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape in the sync test"
[ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr"
echo "ok"
