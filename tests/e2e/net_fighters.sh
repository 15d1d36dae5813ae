#!/usr/bin/env bash
# Online each player chooses their own fighter and the host the stage: the host's Brann against
# the guest's Sora on the host's courtyard, through a bad link (150 ms, jitter, 10% lost, 5%
# twice), with a spectator that joins the match under way. Both players and the spectator
# play Brann against Sora on the courtyard and end on the same match; the host's recording
# names them and online play, and plays back to that end. Then a guest whose Brann is another
# file refuses him, and both sides end saying so.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"

start_relay

start_side host --host "$PORT" --p1 brann --stage courtyard --versus --record "$WORK/host.vrp"
host_window=$(await_title 'left fighter')
start_side guest --join "127.0.0.1:$relay" --p2 sora --versus
guest_window=$(await_title 'right fighter .guest. vs')
xdotool windowfocus --sync "$host_window"
hold 1.0 d
hold 0.2 j
start_side late --watch "127.0.0.1:$relay"
await_title 'watching 127.0.0.1' >/dev/null
xdotool windowfocus --sync "$guest_window"
hold 0.5 a
hold 0.2 j
await_said late 'Watching: .* from step' 60
hold 0.3 Escape
expect_end guest 60 0 "Online play: right fighter"
expect_end host 60 0 "pressed Escape"
expect_end late 30 0 "Watching: the match ended"
for side in host guest late; do
    grep -q "The match: brann against sora on courtyard" "$WORK/$side/Ogre.log" ||
        fail "$side did not play brann against sora on the courtyard"
done
grep -q 'Watching: 127.0.0.1:[0-9]* from step [1-9]' "$WORK/late/Ogre.log" ||
    fail "the spectator did not join the match under way"
for side in guest late; do
    [ -n "$(ended host)" ] && [ "$(ended "$side")" = "$(ended host)" ] ||
        fail "$side ended on another match: '$(ended "$side")', not '$(ended host)'"
done
grep -q "Match ended: checksum $(final_checksum "$WORK/host.vrp")," "$WORK/host/Ogre.log" ||
    fail "the recording ends elsewhere than '$(ended host)'"
header=$(head -c 60 "$WORK/host.vrp" | tr -c 'a-z' ' ')
[[ "$header" =~ \ brann\ .*\ sora\ .*\ courtyard\  ]] || fail "the recording names: $header"
mode_at=$(($(replay_header_size "$WORK/host.vrp") - 18))
[ "$(od -An -tu1 -j "$mode_at" -N1 "$WORK/host.vrp" | tr -d ' ')" = 3 ] ||
    fail "the recording does not say online"
check_recording "$WORK/host.vrp"
await_recordings

# Another file of Brann on the guest's side: refused there, and the host told.
mkdir -p "$WORK/other"
cp "$GAME" "$WORK/other/"
cp -r "$GAME_DIR/media" "$WORK/other/"
echo "# one more line" >>"$WORK/other/media/fighters/brann/fighter.toml"
start_side refusing --host "$((PORT + 1))" --p1 brann
await_title 'left fighter' >/dev/null
GAME=$WORK/other/vorrak start_side refused --join "127.0.0.1:$((PORT + 1))"
expect_end refused 60 1 "plays the fighter 'brann' from another file than this game's"
expect_end refusing 60 1 "has another file of the fighter 'brann' this side plays"
said_alone refused
said_alone refusing
echo "ok"
