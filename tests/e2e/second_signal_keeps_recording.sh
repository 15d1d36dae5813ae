#!/usr/bin/env bash
# Ctrl-C pressed twice while recording: the second SIGINT may end the game at once, but never
# before the recording is complete under its name. At gaps from 5 to 200 ms; every file plays
# back, no temporary file is left, and the exit status is 130 every time. SECOND_SIGNAL_RUNS sets
# the count (second_signal_frozen_or_online.sh: with a display that stopped answering, and on
# the host of an online match).
source "$(dirname "$0")/lib.bash"

runs=${SECOND_SIGNAL_RUNS:-5}

for run in $(seq 0 $((runs - 1))); do
    start_game "$WORK" --record "$WORK/local-$run.vrp"
    await_window
    # A second of the match recorded, none of it written out yet.
    sleep 1
    ctrl_c_twice "$GAME_PID" "$(signal_gap "$run" "$runs")"
    await_exit 60
    [ "$EXIT_STATUS" -eq 130 ] ||
        fail "exit status $EXIT_STATUS at a gap of $(signal_gap "$run" "$runs") s"
    recording_kept "$WORK/local-$run.vrp"
done

await_recordings
echo "ok"
