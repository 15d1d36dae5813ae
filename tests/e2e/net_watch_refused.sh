#!/usr/bin/env bash
# What ends a spectator before or without the match's end: the options refused, a host that
# takes no spectators, a host nobody runs, a host that is killed.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"

expect_refused "--spectators 3" "--host --spectators 33" "--watch-delay 1" "--watch h --watch-delay 6" \
    "--watch h --host" "--watch h --join h" "--watch h --versus" "--watch [::1]" "--watch h:0" "--watch :7717"

start_side none --host "$PORT" --spectators 0
await_title 'left fighter' >/dev/null
start_side refused --watch "127.0.0.1:$PORT"
expect_end refused 60 1 "127.0.0.1:$PORT takes no spectators"
said_alone refused
kill -9 "${PIDS[none]}"
unset "PIDS[none]"

start_side nobody --watch "127.0.0.1:$PORT" --join-timeout 2
expect_end nobody 60 1 "no answer from 127.0.0.1:$PORT"

start_side host2 --host "$PORT"
await_title 'left fighter' >/dev/null
start_side guest2 --join "127.0.0.1:$PORT"
start_side orphan --watch "127.0.0.1:$PORT" --timeout 2
await_title 'watching 127.0.0.1' >/dev/null
await_said orphan 'Watching: .* from step' 60
kill -9 "${PIDS[host2]}"
unset "PIDS[host2]"
expect_end orphan 60 1 "connection lost"
said_alone orphan
echo "ok"
