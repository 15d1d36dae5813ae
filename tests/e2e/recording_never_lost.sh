#!/usr/bin/env bash
# A recording survives however the game ends: its window destroyed or killed by another program
# or its display killed leaves a complete file that plays back. A target that cannot be
# recorded into is refused before the window opens; a disk that fills up shows on the screen
# and in the log within seconds, the match plays on, and the end says what was kept. Two
# games recording to one path each write their own file: the last to finish takes the name.
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

# The recording plays back to its end with every checksum as recorded (exit 0).
plays_back() {
    start_game "$WORK" --replay "$1"
    await_exit 30
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS replaying $1: $(cat "$WORK/stderr")"
}

for how in windowclose windowkill; do
    start_game "$WORK" --record "$WORK/$how.vrp"
    await_window
    hold 0.5 d
    xdotool "$how" "$WINDOW"
    await_exit 5
    [ "$EXIT_STATUS" -le 1 ] || fail "exit status $EXIT_STATUS after $how"
    plays_back "$WORK/$how.vrp"
done

start_display
SHARED_DISPLAY=$DISPLAY
export DISPLAY=:$DISPLAY_NUMBER
start_game "$WORK" --record "$WORK/display-killed.vrp"
await_window
hold 0.5 d
stop_display
await_exit 5
export DISPLAY=$SHARED_DISPLAY
[ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS after the display was killed"
plays_back "$WORK/display-killed.vrp"
no_temporary_files

for target in "$WORK" "$WORK/no-such-folder/m.vrp"; do
    rm -f "$WORK/Ogre.log"
    start_game "$WORK" --record "$target"
    await_exit 5
    [ "$EXIT_STATUS" -eq 2 ] || fail "exit status $EXIT_STATUS recording into $target"
    grep -q "^vorrak: Cannot record into '$target': " "$WORK/stderr" || fail "no reason for $target"
    [ ! -e "$WORK/Ogre.log" ] || fail "the engine started for $target"
done

# Two games record to one path; the second to end takes it.
mkdir "$WORK/first" "$WORK/second"
start_game "$WORK/first" --record "$WORK/shared.vrp"
FIRST_PID=$GAME_PID
await_window
start_game "$WORK/second" --record "$WORK/shared.vrp"
sleep 1.5
kill -TERM "$FIRST_PID"
wait "$FIRST_PID" || true
kill -TERM "$GAME_PID"
await_exit 10
[ "$EXIT_STATUS" -eq 143 ] || fail "exit status $EXIT_STATUS of the second recording"
recorded=$(grep -o 'Match ended: .*' "$WORK/second/Ogre.log")
plays_back "$WORK/shared.vrp"
[ "$(grep -o 'Match ended: .*' "$WORK/Ogre.log")" = "$recorded" ] ||
    fail "the file is not the second game's recording"
no_temporary_files

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
for i in $(seq 1 50); do
    grep -q "Recording into '$MOUNT/m.vrp' failed: No space left on device" "$WORK/Ogre.log" && break
    sleep 0.1
done
grep -q "failed: No space left on device. The match plays on.$" "$WORK/Ogre.log" ||
    fail "no whole write error line in the log within 5 s"
kill -0 "$GAME_PID" || fail "the match did not play on"
# The line shows from the next frame on.
sleep 0.5
screenshot "$WORK/notice.png"
text=$(convert "$WORK/notice.png" -crop 780x30+16+36 +repage -threshold 60% \
    -format '%[fx:int(mean * w * h)]' info:)
[ "$text" -ge 100 ] || fail "no notice on the screen ($text bright pixels)"
xdotool key Escape
await_exit 10
[ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS after a write error"
grep -q "^vorrak: Cannot record into '$MOUNT/m.vrp': No space left on device; nothing was kept$" \
    "$WORK/stderr" || fail "the end does not say what was kept: $(cat "$WORK/stderr")"
echo "ok"
