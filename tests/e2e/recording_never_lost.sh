#!/usr/bin/env bash
# A recording survives however the game ends: its window destroyed or killed by another program
# or its display killed leaves a complete file that plays back. A target that cannot be
# recorded into, or that is not a regular file, is refused before the window opens, and one
# that stops being a regular file is left alone at the end; a name that fits is recorded into;
# a disk that fills up shows on the screen and in the log within seconds, the match plays on,
# and the end says what was kept. Two games recording to one path each write their own file:
# the last to finish takes the name.
source "$(dirname "$0")/lib.bash"

MOUNT=""
unmount() {
    [ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null && wait "$GAME_PID" 2>/dev/null
    [ -n "$MOUNT" ] && umount "$MOUNT"
    cleanup
}
trap unmount EXIT

no_temporary_files() {
    ! compgen -G "$WORK/*.recording-*" >/dev/null || fail "a temporary file was left: $(ls "$WORK")"
}


for how in windowclose windowkill; do
    start_game "$WORK" --record "$WORK/$how.vrp"
    await_window
    hold 0.5 d
    xdotool "$how" "$WINDOW"
    await_exit 60
    [ "$EXIT_STATUS" -le 1 ] || fail "exit status $EXIT_STATUS after $how"
    check_recording "$WORK/$how.vrp"
done

start_display
SHARED_DISPLAY=$DISPLAY
export DISPLAY=:$DISPLAY_NUMBER
start_game "$WORK" --record "$WORK/display-killed.vrp"
await_window
hold 0.5 d
stop_display
await_exit 60
export DISPLAY=$SHARED_DISPLAY
[ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS after the display was killed"
check_recording "$WORK/display-killed.vrp"
no_temporary_files

# Whatever is not a regular file keeps its name: a FIFO, a link to a device.
mkfifo "$WORK/fifo.vrp"
ln -s /dev/null "$WORK/null.vrp"
for target in "$WORK" "$WORK/no-such-folder/m.vrp" "$WORK/fifo.vrp" "$WORK/null.vrp"; do
    rm -f "$WORK/Ogre.log"
    start_game "$WORK" --record "$target"
    await_exit 60
    [ "$EXIT_STATUS" -eq 2 ] || fail "exit status $EXIT_STATUS recording into $target"
    grep -q "^vorrak: Cannot record into '$target': " "$WORK/stderr" || fail "no reason for $target"
    [ ! -e "$WORK/Ogre.log" ] || fail "the engine started for $target"
done

[ -p "$WORK/fifo.vrp" ] && [ "$(readlink "$WORK/null.vrp")" = /dev/null ] ||
    fail "a target that is not a regular file was replaced"
rm "$WORK/fifo.vrp" "$WORK/null.vrp"

# A FIFO that takes the name during the match is left alone; the recording keeps its
# temporary name, and the end says where it is.
start_game "$WORK" --record "$WORK/taken.vrp"
await_window
mkfifo "$WORK/taken.vrp"
xdotool key Escape
await_exit 60
[ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS when a FIFO took the name"
[ -p "$WORK/taken.vrp" ] || fail "the FIFO was replaced"
kept=$(sed -n "s/^vorrak: Cannot record into '.*taken.vrp': it is no longer a regular file; the recording was kept as '\(.*\)'$/\1/p" "$WORK/stderr")
[ -n "$kept" ] || fail "the end does not say where the recording is: $(cat "$WORK/stderr")"
rm "$WORK/taken.vrp"
mv "$kept" "$WORK/kept.vrp"
check_recording "$WORK/kept.vrp"

# A name of 250 characters leaves no room for the temporary suffix: the file is recorded all
# the same.
long=$WORK/$(printf 'm%.0s' $(seq 246)).vrp
start_game "$WORK" --record "$long"
await_window
xdotool key Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS recording into a 250-character name"
check_recording "$long"

# Two games record to one path; the second to end takes it.
mkdir "$WORK/first" "$WORK/second"
start_game "$WORK/first" --record "$WORK/shared.vrp"
FIRST_PID=$GAME_PID
await_window
start_game "$WORK/second" --record "$WORK/shared.vrp"
await_first_step
kill -TERM "$FIRST_PID"
wait "$FIRST_PID" || true
kill -TERM "$GAME_PID"
await_exit 60
[ "$EXIT_STATUS" -eq 143 ] || fail "exit status $EXIT_STATUS of the second recording"
grep -q "Match ended: checksum $(final_checksum "$WORK/shared.vrp")," "$WORK/second/Ogre.log" ||
    fail "the file is not the second game's recording"
check_recording "$WORK/shared.vrp"
no_temporary_files
await_recordings

if [ "$(id -u)" -ne 0 ]; then
    echo "ok (the full disk needs root to mount a small filesystem: skipped)"
    exit 0
fi
MOUNT=$WORK/full
mkdir "$MOUNT"
mount -t tmpfs -o size=64k tmpfs "$MOUNT"
dd if=/dev/zero of="$MOUNT/filler" bs=4k 2>/dev/null || true
start_game "$WORK" --record "$MOUNT/m.vrp"
await_window
await_log "Recording into '$MOUNT/m.vrp' failed: No space left on device" 60
grep -q "failed: No space left on device. The match plays on.$" "$WORK/Ogre.log" ||
    fail "no whole write error line in the log"
kill -0 "$GAME_PID" || fail "the match did not play on"
# The line shows from the next frame on.
notice_shown() {
    COUNT=$("$PIXELS" bright 60 "window:$WINDOW" 780x30+16+36)
    [ "$COUNT" -ge 100 ]
}
eventually 30 notice_shown || fail "no notice on the screen ($COUNT bright pixels)"
xdotool key Escape
await_exit 60
[ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS after a write error"
grep -q "^vorrak: Cannot record into '$MOUNT/m.vrp': No space left on device; nothing was kept$" \
    "$WORK/stderr" || fail "the end does not say what was kept: $(cat "$WORK/stderr")"
echo "ok"
