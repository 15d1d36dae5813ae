#!/usr/bin/env bash
# Ctrl-C pressed twice while recording: the second SIGINT may end the game at once, but never
# before the recording is complete under its name. Locally at gaps from 5 to 200 ms, and on
# the host of an online match, and with a display that stopped answering; every file plays
# back, no temporary file is left, and the exit status is 130 every time. SECOND_SIGNAL_RUNS
# and SECOND_SIGNAL_ONLINE_RUNS set the counts.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"

runs=${SECOND_SIGNAL_RUNS:-5}
online_runs=${SECOND_SIGNAL_ONLINE_RUNS:-2}

# The gap of run $1 of $2, in seconds: 5 to 200 ms, evenly spread.
gap() { printf '0.%03d' $((5 + 195 * $1 / ($2 > 1 ? $2 - 1 : 1))); }

ctrl_c_twice() { # PID GAP
    kill -INT "$1"
    sleep "$2"
    kill -INT "$1" 2>/dev/null || true
}

kept() { # FILE: complete under its name, nothing left beside it, and it plays back
    [ -f "$1" ] || fail "the recording $1 was lost: $(ls "$(dirname "$1")")"
    ! compgen -G "$1.recording-*" >/dev/null || fail "a temporary file was left beside $1"
    check_recording "$1"
}

for run in $(seq 0 $((runs - 1))); do
    start_game "$WORK" --record "$WORK/local-$run.vrp"
    await_window
    # A second of the match recorded, none of it written out yet.
    sleep 1
    ctrl_c_twice "$GAME_PID" "$(gap "$run" "$runs")"
    await_exit 10
    [ "$EXIT_STATUS" -eq 130 ] || fail "exit status $EXIT_STATUS at a gap of $(gap "$run" "$runs") s"
    kept "$WORK/local-$run.vrp"
done

# A display that stops answering holds the game inside a frame, where the first Ctrl-C is never
# acted on: the second ends it from there, the recording complete with what was written out.
start_display
DISPLAY=:$DISPLAY_NUMBER start_game "$WORK" --record "$WORK/frozen.vrp"
for _ in $(seq 300); do
    DISPLAY=:$DISPLAY_NUMBER xdotool search --onlyvisible --name '^Vorrak projekt$' >/dev/null 2>&1 &&
        break
    sleep 0.1
done
sleep 3
kill -STOP "$XVFB_PID"
sleep 1
ctrl_c_twice "$GAME_PID" 0.05
await_exit 10
kill -CONT "$XVFB_PID"
stop_display
[ "$EXIT_STATUS" -eq 130 ] || fail "exit status $EXIT_STATUS with the display stopped"
kept "$WORK/frozen.vrp"

for run in $(seq 0 $((online_runs - 1))); do
    PORT=$((PORT + 1))
    # As start_game does: SIGINT back to its default, however this script was started.
    mkdir -p "$WORK/host"
    (cd "$WORK/host" && exec env --default-signal=INT "$GAME" --host "$PORT" \
        --record "$WORK/online-$run.vrp" >stdout 2>stderr) &
    PIDS[host]=$!
    # The host may end before its goodbye goes: the guest then ends on the silence.
    start_side guest --join "127.0.0.1:$PORT" --timeout 2
    await_title 'left fighter .host. vs 127.0.0.1' >/dev/null
    sleep 1
    ctrl_c_twice "${PIDS[host]}" "$(gap "$run" "$online_runs")"
    await_side host 10
    [ "$STATUS" -eq 130 ] || fail "online: exit status $STATUS at a gap of $(gap "$run" "$online_runs") s"
    await_side guest 15
    kept "$WORK/online-$run.vrp"
done
await_recordings
echo "ok"
