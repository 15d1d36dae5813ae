#!/usr/bin/env bash
# The sound, with no sound card: a match recorded where no audio device exists plays silently
# and says so once in Ogre.log; its replay through SDL's disk driver, which writes the mixed
# output into a file, sounds as the match did (the same cue log) and the hit's onset lies in
# the output where the log says the step ended, within the latency allowed; --mute opens no
# device; bad sound options are refused.
source "$(dirname "$0")/lib.bash"

# The most the onset may lag the end of its step: two steps and the device's buffer.
MAX_LATENCY=$((2 * 800 + 512))

mkfifo "$WORK/fifo"
expect_refused "--volume 101" "--volume -1" "--volume loud" "--no-audio" "--cue-log $WORK/no/such/log" \
    "--cue-log $WORK/fifo" "--cue-log $WORK"

# An audio driver that does not exist is no device at all, as on a server.
SDL_AUDIODRIVER=none start_game "$WORK" --record "$WORK/punch.vrp" --cue-log "$WORK/played.cues"
await_window
punch_and_quit
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS without an audio device"
[ "$(grep -c 'Sound: no audio device' "$WORK/Ogre.log")" -eq 1 ] ||
    fail "not one line about the missing device in Ogre.log"
[ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr"
grep -q ' play hit 1 ' "$WORK/played.cues" || fail "no hit in the cue log: $(cat "$WORK/played.cues")"

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/output.raw" \
    start_game "$WORK" --replay "$WORK/punch.vrp" --cue-log "$WORK/replayed.cues"
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after the replay"
grep -q "Sound: playing through SDL's disk driver" "$WORK/Ogre.log" || fail "the disk driver was not used"
[ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr"
[ "$(cut -d' ' -f1-4 "$WORK/replayed.cues")" = "$(cut -d' ' -f1-4 "$WORK/played.cues")" ] ||
    fail "the replay sounded otherwise: $(cat "$WORK/replayed.cues")"

# The output is 48 kHz stereo, 32-bit floats. Where the hit was queued, the punch's whoosh is
# long over: the first sound after that point is the hit.
queued=$(awk '$2 == "play" && $3 == "hit" { print $6; exit }' "$WORK/replayed.cues")
onset=$(python3 - "$WORK/output.raw" "$queued" <<'PY'
import array, sys
samples = array.array("f")
with open(sys.argv[1], "rb") as raw:
    samples.frombytes(raw.read())
start = int(sys.argv[2])
for frame in range(start, len(samples) // 2):
    if abs(samples[2 * frame]) > 0.01 or abs(samples[2 * frame + 1]) > 0.01:
        print(frame)
        break
else:
    print(-1)
PY
)
[ "$onset" -ge "$queued" ] || fail "no sound in the output after frame $queued"
lag=$((onset - queued))
echo "hit queued at output frame $queued, heard at $onset: $lag frames late"
[ "$lag" -le "$MAX_LATENCY" ] || fail "the hit was heard $lag frames after its step"

start_game "$WORK" --replay "$WORK/punch.vrp" --mute
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after a muted replay"
grep -q 'Sound: muted' "$WORK/Ogre.log" || fail "no word of the mute in Ogre.log"
! grep -q 'Sound: playing\|Sound: no audio' "$WORK/Ogre.log" || fail "a device was looked for"

# A broken sound in a copy of the program: a report naming it and status 1, never a hang.
for kind in "damaged:Cannot read the sound" "fifo:is not a regular file" "missing:No such file"; do
    rm -rf "$WORK/game"
    mkdir -p "$WORK/game"
    cp -r "$GAME" "$GAME_DIR/media" "$WORK/game/"
    rm "$WORK/game/media/sounds/hit.wav"
    case ${kind%%:*} in
        damaged) head -c 3000 /dev/urandom >"$WORK/game/media/sounds/hit.wav" ;;
        fifo) mkfifo "$WORK/game/media/sounds/hit.wav" ;;
    esac
    status=0
    SDL_AUDIODRIVER=dummy timeout 30 "$WORK/game/vorrak" >/dev/null 2>"$WORK/stderr" || status=$?
    [ "$status" -eq 1 ] || fail "a ${kind%%:*} sound: exit status $status, expected 1"
    grep -q "hit.wav" "$WORK/stderr" && grep -q "${kind#*:}" "$WORK/stderr" ||
        fail "a ${kind%%:*} sound: $(cat "$WORK/stderr")"
done
echo "ok"
