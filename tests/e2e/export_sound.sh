#!/usr/bin/env bash
# A recorded punch exported with its sound: the hit's onset in the video's audio lies within one
# step of the picture in which the hit lands (the one where the second player's health readout
# changes). Each container gets its audio codec at 48 kHz stereo, 800 frames per step exactly
# where the codec keeps the length; --no-audio leaves the track out.
source "$(dirname "$0")/lib.bash"

SDL_AUDIODRIVER=dummy start_game "$WORK" --record "$WORK/punch.vrp"
await_window
punch_and_quit
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after recording"

# export_video OUT [OPTION...]: in the background, each in a folder of its own; await_export
# OUT waits for it.
declare -A EXPORTS=()
export_video() {
    local dir=$WORK/export-$(basename "$1")
    mkdir -p "$dir"
    (cd "$dir" && exec timeout 200 "$GAME" --replay "$WORK/punch.vrp" --export "$@" \
        >stdout 2>stderr) &
    EXPORTS[$1]=$!
    BACKGROUND+=("$!")
}
await_export() {
    wait "${EXPORTS[$1]}" || fail "exporting $1: $(cat "$WORK/export-$(basename "$1")/stderr")"
}

audio_of() {
    ffprobe -v error -select_streams a -of csv=p=0 \
        -show_entries stream=codec_name,sample_rate,channels "$1"
}

# Decoded to 48 kHz stereo floats, the number of frames.
decoded_frames() {
    ffmpeg -v error -y -i "$1" -f f32le -ac 2 -ar 48000 "$WORK/audio.raw"
    echo $(($(stat -c %s "$WORK/audio.raw") / 8))
}

# The cuts beside the whole.
export_video "$WORK/cut.webm" --from 11 --to 47 --size 64x48
export_video "$WORK/cut.mkv" --from 11 --to 47 --size 64x48
export_video "$WORK/silent.mkv" --to 5 --size 64x48 --no-audio
export_video "$WORK/whole.mp4"
await_export "$WORK/whole.mp4"
[ "$(audio_of "$WORK/whole.mp4")" = "aac,48000,2" ] || fail "mp4 audio: $(audio_of "$WORK/whole.mp4")"

# The picture of the hit: the first whose health readout differs from the first picture's, in
# 5% of its pixels.
ffmpeg -v error -i "$WORK/whole.mp4" -vf crop=160:60:480:470 "$WORK/health-%04d.xwd"
hit_picture=""
for picture in "$WORK"/health-*.xwd; do
    if [ "$(differing_pixels 8 "$WORK/health-0001.xwd" "$picture" 160x60+0+0)" -ge 480 ]; then
        number=$(basename "$picture" .xwd)
        hit_picture=$((10#${number#health-} - 1))
        break
    fi
done
[ -n "$hit_picture" ] || fail "no picture shows the hit"

# The sound's events: each onset after 50 ms of silence. The whoosh comes first, then the hit.
decoded_frames "$WORK/whole.mp4" >/dev/null
hit_step=$(python3 - "$WORK/audio.raw" <<'PY'
import array, sys
samples = array.array("f")
with open(sys.argv[1], "rb") as raw:
    samples.frombytes(raw.read())
quiet, onsets = 2400, []
for frame in range(len(samples) // 2):
    loud = max(abs(samples[2 * frame]), abs(samples[2 * frame + 1])) > 0.01
    if loud and quiet >= 2400:
        onsets.append(frame)
    quiet = 0 if loud else quiet + 1
print(onsets[1] // 800 if len(onsets) > 1 else -1)
PY
)
echo "the hit is seen in picture $hit_picture and heard in the sound of picture $hit_step"
[ "$hit_step" -ge 0 ] || fail "no hit in the exported sound"
[ $((hit_step - hit_picture)) -le 1 ] && [ $((hit_picture - hit_step)) -le 1 ] ||
    fail "the hit is heard at picture $hit_step, seen at $hit_picture"

await_export "$WORK/cut.webm"
[ "$(audio_of "$WORK/cut.webm")" = "opus,48000,2" ] || fail "webm audio: $(audio_of "$WORK/cut.webm")"
[ "$(decoded_frames "$WORK/cut.webm")" -eq $((37 * 800)) ] || fail "webm: not 800 frames per step"
await_export "$WORK/cut.mkv"
[ "$(audio_of "$WORK/cut.mkv")" = "flac,48000,2" ] || fail "mkv audio: $(audio_of "$WORK/cut.mkv")"
[ "$(decoded_frames "$WORK/cut.mkv")" -eq $((37 * 800)) ] || fail "mkv: not 800 frames per step"

await_export "$WORK/silent.mkv"
[ -z "$(audio_of "$WORK/silent.mkv")" ] || fail "--no-audio left an audio track"
echo "ok"
