#!/usr/bin/env bash
# Games meet through the lobby on 127.0.0.1. Ana makes a room and Bo joins it by its code; a
# third game lists the matches and watches theirs. Ana's punch shows the same on both sides;
# the lobby is then stopped and the match goes on: Escape on Bo ends both and the spectator on
# the same step. With a lobby again, two quick matches pair whoever came first, and a name in
# use and a room that is not there are refused in one line.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"
LOBBY_PROGRAM=$GAME_DIR/vorrak-lobby
LPORT=$((PORT + 1))

start_lobby() {
    "$LOBBY_PROGRAM" --bind 127.0.0.1 --port "$LPORT" >"$WORK/lobby.out" 2>&1 &
    PIDS[lobby]=$!
    for _ in $(seq 1 300); do grep -q listening "$WORK/lobby.out" && return; sleep 0.1; done
    fail "the lobby did not start: $(cat "$WORK/lobby.out")"
}
# await_out NAME PATTERN: the line of the game's standard output that matches, once there is one.
await_out() {
    for _ in $(seq 1 600); do
        grep -m1 "$2" "$WORK/$1/stdout" 2>/dev/null && return
        sleep 0.1
    done
    fail "$1 did not print '$2': $(cat "$WORK/$1/stdout" "$WORK/$1/stderr" 2>/dev/null)"
}
grab() { # WINDOW FILE
    xdotool windowraise "$1"
    sleep 0.5
    xwd -silent -id "$1" -out "$2"
}

start_lobby
start_side ana --lobby "127.0.0.1:$LPORT" --name ana --room
code=$(await_out ana 'Room code: ' | cut -d' ' -f3)
start_side bo --lobby "127.0.0.1:$LPORT" --name Bo --code "$(echo "$code" | tr A-Z a-z)"
host_window=$(await_title 'left fighter .host. vs')
guest_window=$(await_title 'right fighter .guest. vs')
await_out bo 'paired with ana' >/dev/null
await_said ana 'connected after .*, direct, input delay [1-4] for a round trip of [0-9]* ms' 60

mkdir -p "$WORK/list"
(cd "$WORK/list" && "$GAME" --lobby "127.0.0.1:$LPORT" --name cy --list-matches >stdout 2>stderr) ||
    fail "the list of matches failed: $(cat "$WORK/list/stderr")"
match=$(grep -o 'Match [0-9]*: ana vs Bo' "$WORK/list/stdout" | grep -o '[0-9]*' | head -1)
[ -n "$match" ] || fail "ana and Bo's match is not listed: $(cat "$WORK/list/stdout")"
start_side cy --lobby "127.0.0.1:$LPORT" --name cy --watch-match "$match"
await_said cy 'Watching: ' 60

await_said ana 'Online play: left fighter (host) vs' 60
grab "$host_window" "$WORK/before.xwd"
xdotool windowfocus --sync "$host_window"
hold 1.2 d
hold 0.2 j
health_differs() { [ "$(differing_pixels 0 "$1" "$2" 800x80+0+460)" -gt 0 ]; }
landed() {
    grab "$host_window" "$WORK/host.xwd"
    health_differs "$WORK/before.xwd" "$WORK/host.xwd"
}
agreed() {
    grab "$host_window" "$WORK/host.xwd"
    grab "$guest_window" "$WORK/guest.xwd"
    ! health_differs "$WORK/host.xwd" "$WORK/guest.xwd"
}
eventually 60 landed || fail "no hit landed: the health is as at the start"
eventually 60 agreed || fail "the two windows show different health"

# The lobby goes away: the match is the players' own.
kill "${PIDS[lobby]}"
await_side lobby 10
# The games' keepers see the lobby gone (or not): either way the match goes on.
sleep 1
xdotool windowfocus --sync "$guest_window"
hold 0.3 Escape
expect_end bo 60 0 "Online play: right fighter"
expect_end ana 60 0 "pressed Escape"
await_side cy 60
[ "$STATUS" -eq 0 ] || fail "the spectator ended with status $STATUS: $(cat "$WORK/cy/stderr")"
for side in bo cy; do
    [ -n "$(ended ana)" ] && [ "$(ended "$side")" = "$(ended ana)" ] ||
        fail "$side ended on another match: '$(ended "$side")', not '$(ended ana)'"
done

start_lobby
start_side dee --lobby "127.0.0.1:$LPORT" --name dee --quick --delay 2
await_out dee 'waiting for a quick match' >/dev/null
start_side eve --lobby "127.0.0.1:$LPORT" --name eve
await_out dee 'paired with eve .*hosting' >/dev/null
await_out eve 'paired with dee .*joining' >/dev/null
await_said dee 'direct, input delay 2$' 60
await_said eve 'direct, input delay [1-4] for a round trip of [0-9]* ms' 60
mkdir -p "$WORK/twin"
(cd "$WORK/twin" && ! "$GAME" --lobby "127.0.0.1:$LPORT" --name eve --room >stdout 2>stderr) ||
    fail "a second eve was let in"
grep -qx 'vorrak: Lobby: someone in the lobby has that name' "$WORK/twin/stderr" ||
    fail "the second eve was not told why: $(cat "$WORK/twin/stderr")"
(cd "$WORK/twin" && ! "$GAME" --lobby "127.0.0.1:$LPORT" --name fay --code 3477 >stdout 2>stderr) ||
    fail "a room that is not there was joined"
grep -q 'no room has that code' "$WORK/twin/stderr" || fail "no reason given: $(cat "$WORK/twin/stderr")"
xdotool windowfocus --sync "$(await_title 'right fighter .guest. vs')"
hold 0.3 Escape
expect_end eve 60 0 "Online play: right fighter"
expect_end dee 60 0 "pressed Escape"
echo "ok"
