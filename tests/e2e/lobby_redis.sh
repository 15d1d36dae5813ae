#!/usr/bin/env bash
# Two lobby processes sharing one Redis (started by the test on the loopback): Ana on the first
# makes a room, Bo on the second joins it by its code, and they play; a quick match pairs Cy on
# the first with Dee on the second. Skipped where Debian's redis-server is not installed.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"
LOBBY_PROGRAM=$GAME_DIR/vorrak-lobby
if ! command -v redis-server >/dev/null; then
    echo "ok (skipped: needs redis-server)"
    exit 0
fi
RPORT=$((PORT + 1))
redis-server --port "$RPORT" --bind 127.0.0.1 --save "" --appendonly no --dir "$WORK" \
    --loglevel warning >"$WORK/redis.out" 2>&1 &
PIDS[redis]=$!
for side in 1 2; do
    for _ in $(seq 1 50); do
        "$LOBBY_PROGRAM" --bind 127.0.0.1 --port $((PORT + 1 + side)) --redis "127.0.0.1:$RPORT" \
            >"$WORK/lobby$side.out" 2>&1 &
        PIDS[lobby$side]=$!
        sleep 0.2
        kill -0 "${PIDS[lobby$side]}" 2>/dev/null && break
    done
    grep -q "listening on UDP port $((PORT + 1 + side)), state in Redis" "$WORK/lobby$side.out" ||
        fail "lobby $side did not start: $(cat "$WORK/lobby$side.out")"
done
lobby() { echo "127.0.0.1:$((PORT + 1 + $1))"; }
await_out() { # NAME PATTERN
    for _ in $(seq 1 600); do
        grep -m1 "$2" "$WORK/$1/stdout" 2>/dev/null && return
        sleep 0.1
    done
    fail "$1 did not print '$2': $(cat "$WORK/$1/stdout" "$WORK/$1/stderr" 2>/dev/null)"
}

start_side ana --lobby "$(lobby 1)" --name ana --room
code=$(await_out ana 'Room code: ' | cut -d' ' -f3)
start_side bo --lobby "$(lobby 2)" --name bo --code "$code"
await_said ana 'connected after .*, direct' 60
await_said bo 'connected after .*, direct' 60
xdotool windowfocus --sync "$(await_title 'right fighter .guest. vs')"
hold 0.3 Escape
expect_end bo 60 0 "Online play: right fighter"
expect_end ana 60 0 "pressed Escape"
start_side cy --lobby "$(lobby 1)" --name cy --quick
await_out cy 'waiting for a quick match' >/dev/null
start_side dee --lobby "$(lobby 2)" --name dee --quick
await_out cy 'paired with dee .*hosting' >/dev/null
await_said dee 'connected after .*, direct' 60
xdotool windowfocus --sync "$(await_title 'right fighter .guest. vs')"
hold 0.3 Escape
expect_end dee 60 0 "Online play: right fighter"
expect_end cy 60 0 "pressed Escape"
echo "ok"
