#!/usr/bin/env bash
# Two games play online over 127.0.0.1, the guest started 4 s before the host: the host's left
# fighter walks up and punches; both windows then show the same health, lower than at the
# start. The guest stopped for 2 s is shown as an interruption on the host and the match goes on. Escape on
# the guest ends both with status 0 on the same step, and the host says why. The host's
# recording of the confirmed match plays back to that same end.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"

# The windows overlap on a display without a window manager: the one grabbed goes on top.
grab() { # WINDOW FILE
    xdotool windowraise "$1"
    sleep 0.5
    xwd -silent -id "$1" -out "$2"
}
# The health readouts of the two pictures differ.
health_differs() {
    [ "$(differing_pixels 0 "$1" "$2" 800x80+0+460)" -gt 0 ]
}

start_side guest --join "127.0.0.1:$PORT" --delay 2
await_title "waiting for 127.0.0.1:$PORT" >/dev/null
sleep 4
start_side host --host "$PORT" --record "$WORK/online.vrp"
host_window=$(await_title 'left fighter')
guest_window=$(await_title 'right fighter .guest. vs')
await_title 'left fighter .host. vs 127.0.0.1' >/dev/null
await_said host 'Online play: left fighter (host) vs' 60
grab "$host_window" "$WORK/before.xwd"

xdotool windowfocus --sync "$host_window"
hold 1.2 d
hold 0.2 j
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

# Two seconds of silence: a second of it is an interruption.
kill -STOP "${PIDS[guest]}"
sleep 2
kill -CONT "${PIDS[guest]}"
await_said host "connection back" 60

xdotool windowfocus --sync "$guest_window"
hold 0.3 Escape
expect_end guest 60 0 "Online play: right fighter"
expect_end host 60 0 "pressed Escape"
# The stopped guest hears the host again at once; the host heard nothing for 2 s.
grep -q "connection interrupted" "$WORK/host/Ogre.log" || fail "the host did not show the silence"
grep -q "connection back" "$WORK/host/Ogre.log" || fail "the host did not resume"
[ -n "$(ended host)" ] && [ "$(ended host)" = "$(ended guest)" ] ||
    fail "the two sides ended on different matches: '$(ended host)' and '$(ended guest)'"

start_side replay --replay "$WORK/online.vrp"
await_side replay 60
[ "$STATUS" -eq 0 ] || fail "the online recording played back with status $STATUS"
grep -q 'Match ended: .*, health 1000 / 950' "$WORK/replay/Ogre.log" ||
    fail "the replay of the online match does not end with the punch landed"
[ "$(ended replay)" = "$(ended host)" ] ||
    fail "the recording ends elsewhere: '$(ended replay)', not '$(ended host)'"
echo "ok"
