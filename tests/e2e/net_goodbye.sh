#!/usr/bin/env bash
# Through a lossy link (150 ms each way, 10% lost, 5% twice) a host and a guest started with
# other rules both end naming the difference: the refusal is sent again until the other side
# acknowledged it, and a quit heard during the handshake is acted on. NET_TRIES tries (2 here,
# 24 for the release figure), each printing how long the second side ended after the first.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"

tries=${NET_TRIES:-2}

ended_at() { # NAME: the time it ended, once it has
    kill -0 "${PIDS[$1]}" 2>/dev/null || date +%s.%N
}

# Each try on a port and a relay of its own, so nothing of the last one (a datagram the relay
# still holds back) reaches the next.
for try in $(seq 1 "$tries"); do
    port=$((PORT + try))
    "$NET_PEER" relay "$port" 60 >"$WORK/relay$try.port" &
    PIDS[relay$try]=$!
    for _ in $(seq 1 50); do [ -s "$WORK/relay$try.port" ] && break; sleep 0.1; done
    relay=$(cat "$WORK/relay$try.port")
    [ -n "$relay" ] || fail "the relay did not start"
    start_side "host$try" --host "$port" --versus --rounds 5
    await_title 'left fighter' >/dev/null
    start_side "guest$try" --join "127.0.0.1:$relay" --versus
    declare -A end=()
    for _ in $(seq 1 600); do
        for side in "host$try" "guest$try"; do
            [ -n "${end[$side]:-}" ] || end[$side]=$(ended_at "$side")
        done
        [ -n "${end[host$try]}" ] && [ -n "${end[guest$try]}" ] && break
        sleep 0.05
    done
    expect_end "host$try" 1 1 "plays by other rules (versus in 3 rounds of 5940 steps, this game versus in 5"
    expect_end "guest$try" 1 1 "plays by other rules (versus in 5 rounds of 5940 steps, this game versus in 3"
    awk -v a="${end[host$try]}" -v b="${end[guest$try]}" -v try="$try" \
        'BEGIN { d = a - b; printf "try %d: the second side ended %.2f s after the first\n", try, d < 0 ? -d : d }'
    unset end
done
echo "ok"
