#!/usr/bin/env bash
# Ctrl-C pressed twice while recording, with a display that stopped answering and on the host of
# an online match (at gaps from 5 to 200 ms): the second SIGINT may end the game at once, but
# never before the recording is complete under its name. Every file plays back, no temporary
# file is left, and the exit status is 130 every time. SECOND_SIGNAL_ONLINE_RUNS sets the count
# of online runs.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"

online_runs=${SECOND_SIGNAL_ONLINE_RUNS:-2}

# A display that stops answering holds the game inside a frame, where the first Ctrl-C is never
# acted on: the second ends it from there, the recording complete with what was written out.
start_display
DISPLAY=:$DISPLAY_NUMBER start_game "$WORK" --record "$WORK/frozen.vrp"
await_first_step
# Past the first write of the recording.
sleep 3
kill -STOP "$XVFB_PID"
sleep 1
ctrl_c_twice "$GAME_PID" 0.05
await_exit 60
kill -CONT "$XVFB_PID"
stop_display
[ "$EXIT_STATUS" -eq 130 ] || fail "exit status $EXIT_STATUS with the display stopped"
recording_kept "$WORK/frozen.vrp"

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
    ctrl_c_twice "${PIDS[host]}" "$(signal_gap "$run" "$online_runs")"
    await_side host 60
    [ "$STATUS" -eq 130 ] ||
        fail "online: exit status $STATUS at a gap of $(signal_gap "$run" "$online_runs") s"
    await_side guest 60
    recording_kept "$WORK/online-$run.vrp"
done
await_recordings
echo "ok"
