#!/usr/bin/env bash
# Online play that cannot go on ends cleanly on the side that is left, saying why in one line: an IPv6
# address, nobody listening, another protocol version, a fighter it does not have or other
# rules (either side), a malformed message, a host already in a match, the other game killed. A host
# whose guest is killed ends on the last step it knows both players' input for: its spectator
# and its recording end on the match it logs.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"

for address in ::1 "[::1]:7717" "[fe80::1]"; do
    status=0
    "$GAME" --join "$address" >/dev/null 2>"$WORK/ipv6" || status=$?
    [ "$status" -eq 2 ] || fail "--join $address exited $status, not 2"
    grep -q "IPv6 addresses are not supported" "$WORK/ipv6" || fail "--join $address: $(cat "$WORK/ipv6")"
done

start_side nobody --join "127.0.0.1:$PORT" --join-timeout 2
await_title "waiting for 127.0.0.1:$PORT" >/dev/null
expect_end nobody 60 1 "no answer from 127.0.0.1:$PORT"
said_alone nobody

peer() { # ARGS: the stand-in peer, in the background
    "$NET_PEER" "$@" >"$WORK/peer.out" 2>&1 &
}

start_side version --host "$PORT"
await_running version
peer join "$PORT" version
expect_end version 60 1 "protocol version 99"
said_alone version

start_side data --host "$PORT"
await_running data
peer join "$PORT" fighter
expect_end data 60 1 "plays the fighter 'zed', which this game does not have"

peer host "$PORT" fighter
start_side guestdata --join "127.0.0.1:$PORT"
expect_end guestdata 60 1 "plays the fighter 'zed', which this game does not have"
said_alone guestdata

# Both sides name the difference in the rules.
start_side rulehost --host "$PORT" --versus --rounds 5
await_title 'left fighter' >/dev/null
start_side ruleguest --join "127.0.0.1:$PORT" --versus
expect_end ruleguest 60 1 "plays by other rules (versus in 5 rounds of 5940 steps, this game versus in 3 rounds"
expect_end rulehost 60 1 "plays by other rules (versus in 3 rounds of 5940 steps, this game versus in 5 rounds"
said_alone ruleguest
said_alone rulehost

start_side junk --host "$PORT"
await_running junk
peer join "$PORT" junk
expect_end junk 60 1 "sent a malformed message"
grep -q "dropped 1 malformed input packets" "$WORK/junk/Ogre.log" || fail "the malformed input went unnoticed"

start_side host --host "$PORT" --timeout 2 --record "$WORK/host.vrp"
host_window=$(await_title 'left fighter')
start_side watcher --watch "127.0.0.1:$PORT" --watch-delay 0
start_side guest --join "127.0.0.1:$PORT"
await_title 'right fighter .guest. vs' >/dev/null
start_side third --join "127.0.0.1:$PORT"
expect_end third 60 1 "127.0.0.1:$PORT is already in a match"
said_alone third
await_title 'watching 127.0.0.1' >/dev/null
xdotool windowfocus --sync "$host_window"
hold 0.5 d
xdotool keydown j
kill -9 "${PIDS[guest]}"
unset "PIDS[guest]"
xdotool keyup j
expect_end host 60 1 "connection lost (nothing from 127.0.0.1:[0-9]* for 2 s)"
said_alone host 2 # the match's start, then its loss
expect_end watcher 60 0 "Watching: the match ended"
[ -n "$(ended host)" ] && [ "$(ended watcher)" = "$(ended host)" ] ||
    fail "the spectator ended on another match: '$(ended watcher)', not '$(ended host)'"
grep -q "Match ended: checksum $(final_checksum "$WORK/host.vrp")," "$WORK/host/Ogre.log" ||
    fail "the host's recording ends elsewhere than its match: $(ended host)"
check_recording "$WORK/host.vrp"

# A signal ends a game as at one keyboard (128 + the signal), and both sides agree on the end.
start_side host2 --host "$PORT"
await_title 'left fighter' >/dev/null
start_side guest2 --join "127.0.0.1:$PORT"
await_title 'right fighter .guest. vs' >/dev/null
# Both play once each has the other's inputs.
await_said host2 'Online play: left fighter (host) vs' 60
await_said guest2 'Online play: right fighter (guest) vs' 60
kill -TERM "${PIDS[guest2]}"
await_side guest2 60
[ "$STATUS" -eq 143 ] || fail "the guest ended with status $STATUS after SIGTERM, not 143"
expect_end host2 60 0 "closed the game"
[ -n "$(ended host2)" ] && [ "$(ended host2)" = "$(ended guest2)" ] ||
    fail "the two sides ended on different matches: '$(ended host2)' and '$(ended guest2)'"
await_recordings
echo "ok"
