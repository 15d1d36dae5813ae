#!/usr/bin/env bash
# A recorded match exported to video with the window never shown: .mkv, .mp4 and .webm open in
# ffprobe at 800x600 and 60/1 with one frame per step, or per step of a cut at its bounds;
# --boxes shows the boxes from the first frame. Each refusal (a bad extension or cut, a missing
# or damaged replay, a missing folder, a full disk) gives its line and exit status and leaves
# neither the video nor a temporary file, and so does a signal.
source "$(dirname "$0")/lib.bash"

start_game "$WORK" --record "$WORK/match.vrp"
await_window
hold 0.4 d
hold 0.1 j
sleep 0.2
hold 0.1 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after recording"

# export_video REPLAY OUT [OPTION...]: sets EXIT_STATUS; stderr is kept in $WORK/stderr.
export_video() {
    local replay=$1 out=$2
    shift 2
    EXIT_STATUS=0
    (cd "$WORK" && timeout 200 "$GAME" --replay "$replay" --export "$out" "$@" \
        >"$WORK/stdout" 2>"$WORK/stderr") || EXIT_STATUS=$?
}

probe() {
    ffprobe -v error -count_frames -select_streams v -of csv=p=0 \
        -show_entries stream=codec_name,width,height,r_frame_rate,nb_read_frames "$1"
}

exports() {
    local expected=$1
    shift
    export_video "$WORK/match.vrp" "$@"
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS exporting $*"
    [ "$(probe "$1")" = "$expected" ] || fail "$*: $(probe "$1"), not $expected"
    ! compgen -G "$1.export-*" >/dev/null || fail "a temporary file of $1 was left behind"
}

# The replay's last step, as the refusal of a cut beyond it names it before the engine starts.
export_video "$WORK/match.vrp" "$WORK/clip.mkv" --to 1000000
steps=$(sed -n "s/^vorrak: --to 1000000 is beyond the last step of '.*' (\([0-9]*\))$/\1/p" \
    "$WORK/stderr")
[ "$EXIT_STATUS" -eq 2 ] && [ "${steps:-0}" -gt 30 ] || fail "--to beyond: $(cat "$WORK/stderr")"
[ ! -e "$WORK/clip.mkv" ] || fail "--to beyond left a file"

# Both ends of the replay (the engine tests export it whole): its first steps in H.264, with one
# closing line when stderr is not a terminal, and its last step in VP9 at another size.
exports "h264,800,600,60/1,30" "$WORK/first.mp4" --to 30
[ "$(cat "$WORK/stderr")" = "$(grep "^Exported 30 steps (0.5 s of play) to '$WORK/first.mp4' in " "$WORK/stderr")" ] ||
    fail "not one closing line on stderr: $(cat "$WORK/stderr")"
exports "vp9,640,480,60/1,1" "$WORK/last.webm" --from "$steps" --size 640x480

# The boxes of both fighters from the first step on, which the recording never asked for.
green_in_first_frame() {
    ffmpeg -v error -y -i "$1" -frames:v 1 "$WORK/first.xwd"
    dominant_pixels "$WORK/first.xwd" 400x250+200+200 g
}
exports "ffv1,800,600,60/1,1" "$WORK/boxes.mkv" --boxes --to 1
[ "$(green_in_first_frame "$WORK/boxes.mkv")" -gt 8000 ] || fail "--boxes shows no boxes"
[ "$(green_in_first_frame "$WORK/first.mp4")" -eq 0 ] || fail "boxes shown without --boxes"

# A signal stops the export as it writes (a large size keeps it writing for a while): the exit
# status tells it, and the unfinished file is gone.
(cd "$WORK" && exec env --default-signal=INT "$GAME" --replay "$WORK/match.vrp" \
    --export "$WORK/stopped.mkv" --size 2048x1536 >"$WORK/stdout" 2>"$WORK/stderr") &
GAME_PID=$!
for i in $(seq 1 1200); do
    compgen -G "$WORK/stopped.mkv.export-*" >/dev/null && break
    sleep 0.05
done
kill -INT "$GAME_PID"
await_exit 60
[ "$EXIT_STATUS" -eq 130 ] || fail "exit status $EXIT_STATUS after SIGINT during an export"
[ ! -e "$WORK/stopped.mkv" ] && ! compgen -G "$WORK/stopped.mkv.export-*" >/dev/null ||
    fail "SIGINT left a file"

# refused STATUS PATTERN REPLAY OUT [OPTION...]
refused() {
    local status=$1 pattern=$2 replay=$3 out=$4
    shift 4
    export_video "$replay" "$out" "$@"
    [ "$EXIT_STATUS" -eq "$status" ] || fail "exit status $EXIT_STATUS, not $status, for $out $*"
    grep -q -- "$pattern" "$WORK/stderr" || fail "for $out $*: $(cat "$WORK/stderr")"
    [ ! -e "$out" ] && ! compgen -G "$out.export-*" >/dev/null || fail "$out $* left a file behind"
}

refused 2 "^Usage: vorrak" "$WORK/match.vrp" "$WORK/clip.avi"
refused 2 "^vorrak: --from: '0' is not a step: steps are numbered from 1$" "$WORK/match.vrp" \
    "$WORK/clip.mkv" --from 0
refused 2 "^vorrak: --from 6 is after --to 5" "$WORK/match.vrp" "$WORK/clip.mkv" --from 6 --to 5
refused 2 "^vorrak: --from $((steps + 1)) is beyond" "$WORK/match.vrp" "$WORK/clip.mkv" \
    --from $((steps + 1))
refused 1 "^vorrak: Cannot play back .*No such file" "$WORK/missing.vrp" "$WORK/clip.mkv"
head -c $(($(stat -c %s "$WORK/match.vrp") - 1)) "$WORK/match.vrp" >"$WORK/damaged.vrp"
refused 1 "^vorrak: Cannot play back .*: the file is cut short (" "$WORK/damaged.vrp" "$WORK/clip.mkv"
refused 1 "^vorrak: Cannot export to '.*': No such file or directory$" \
    "$WORK/match.vrp" "$WORK/no/such/folder/clip.mkv"

# A folder as OUT is refused before the engine starts (it writes no log); a user's file named
# like a temporary one is left as it was.
mkdir "$WORK/folder.mkv"
rm -f "$WORK/Ogre.log"
export_video "$WORK/match.vrp" "$WORK/folder.mkv"
[ "$EXIT_STATUS" -eq 1 ] && [ ! -e "$WORK/Ogre.log" ] &&
    grep -q "^vorrak: Cannot export to '.*folder.mkv': Is a directory$" "$WORK/stderr" ||
    fail "a folder as OUT: status $EXIT_STATUS, $(cat "$WORK/stderr")"
echo "the user's own" >"$WORK/kept.mkv.part"
exports "ffv1,800,600,60/1,1" "$WORK/kept.mkv" --to 1
[ "$(cat "$WORK/kept.mkv.part")" = "the user's own" ] || fail "the user's kept.mkv.part was changed"

# A disk that fills: a small tmpfs where this test may mount one, else a file size limit that
# makes the writes fail the same way.
mkdir "$WORK/small"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=256k tmpfs "$WORK/small" 2>/dev/null; then
    # In a subshell, so the disk is unmounted before a failure ends the test.
    status=0
    (refused 1 "^vorrak: Cannot export to '.*': No space left on device$" \
        "$WORK/match.vrp" "$WORK/small/clip.mkv") || status=$?
    umount "$WORK/small"
    [ "$status" -eq 0 ] || exit 1
else
    trap '' XFSZ
    ulimit -f 256
    refused 1 "^vorrak: Cannot export to '.*': File too large$" "$WORK/match.vrp" "$WORK/clip.mkv"
fi
echo "ok"
