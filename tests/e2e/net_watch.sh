#!/usr/bin/env bash
# Spectators through a bad link (150 ms, jitter, 10% lost, 5% twice): one watches from before
# the match, one is killed in the middle, one joins 5 s in. When the guest presses Escape the
# players and the two left watching end on the same match; the first spectator's recording is
# the host's byte for byte but for its mode, and the late one's (from the match it joined on) plays back to the
# same end, exports a picture per step and opens in the lab. (net_watch_refused.sh: what ends
# a spectator otherwise.)
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"

start_relay

start_side host --host "$PORT" --record "$WORK/host.vrp"
host_window=$(await_title 'left fighter')
start_side early --watch "127.0.0.1:$relay" --record "$WORK/early.vrp"
start_side killed --watch "127.0.0.1:$relay"
# Both watch from the first step: they wait for the players' choices, which the guest brings.
joined() { [ "$(grep -c 'a spectator joined' "$WORK/host/Ogre.log" 2>/dev/null)" -eq "$1" ]; }
eventually 90 joined 2 || fail "the spectators did not join"
start_side guest --join "127.0.0.1:$relay"
guest_window=$(await_title 'right fighter .guest. vs')
await_said early "Watching: .* from step 0$" 90
await_said killed "Watching: .* from step 0$" 90
await_title 'watching 127.0.0.1' >/dev/null
xdotool windowfocus --sync "$host_window"
hold 1.2 d
hold 0.2 j
sleep 3
start_side late --watch "127.0.0.1:$relay" --record "$WORK/late.vrp"
await_said late "Watching: .* from step [1-9]" 90
kill -9 "${PIDS[killed]}"
unset "PIDS[killed]"
xdotool windowfocus --sync "$host_window"
hold 0.5 a
hold 0.2 k
sleep 3
xdotool windowfocus --sync "$guest_window"
hold 0.3 Escape
expect_end guest 60 0 "Online play: right fighter"
expect_end host 60 0 "pressed Escape"
expect_end early 30 0 "Watching: the match ended"
expect_end late 30 0 "Watching: the match ended"
[ "$(grep -c 'a spectator joined' "$WORK/host/Ogre.log")" -eq 3 ] || fail "the host did not see three spectators"
grep -q 'Watching: 127.0.0.1:[0-9]* from step [1-9]' "$WORK/late/Ogre.log" ||
    fail "the late spectator did not join the match under way"
for side in guest early late; do
    [ -n "$(ended host)" ] && [ "$(ended "$side")" = "$(ended host)" ] ||
        fail "$side ended on another match: '$(ended "$side")', not '$(ended host)'"
done
# The same but for the mode (online, watched) and so the check value.
mode_at=$(($(replay_header_size "$WORK/host.vrp") - 18))
size=$(stat -c %s "$WORK/host.vrp")
[ "$(od -An -tu1 -j "$mode_at" -N1 "$WORK/host.vrp" | tr -d ' ')" = 3 ] &&
    [ "$(od -An -tu1 -j "$mode_at" -N1 "$WORK/early.vrp" | tr -d ' ')" = 4 ] ||
    fail "the recordings do not say online and watched"
cmp -n "$mode_at" "$WORK/host.vrp" "$WORK/early.vrp" &&
    cmp -n $((size - mode_at - 9)) -i $((mode_at + 1)) "$WORK/host.vrp" "$WORK/early.vrp" ||
    fail "the first spectator's recording is not the host's"
# The export plays it through on the rules first, checked to its last step.
grep -q "Match ended: checksum $(final_checksum "$WORK/late.vrp")," "$WORK/host/Ogre.log" ||
    fail "the late recording ends elsewhere than '$(ended host)'"
steps=$(recorded_steps "$WORK/late.vrp")
(cd "$WORK" && "$GAME" --replay "$WORK/late.vrp" --export "$WORK/late.mkv" --size 64x48 \
    --no-audio >/dev/null 2>"$WORK/export") || fail "the late recording did not export: $(cat "$WORK/export")"
frames=$(ffprobe -v error -count_frames -select_streams v -of csv=p=0 \
    -show_entries stream=nb_read_frames "$WORK/late.mkv")
[ "$frames" -eq "$steps" ] || fail "the late recording's video has $frames pictures for $steps steps"
start_game "$WORK" --training --replay "$WORK/late.vrp"
await_window
xdotool key Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "the lab over the late recording ended with $EXIT_STATUS: $(cat "$WORK/stderr")"
echo "ok"
