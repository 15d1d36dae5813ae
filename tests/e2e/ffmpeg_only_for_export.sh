#!/usr/bin/env bash
# FFmpeg only for export: the program names no FFmpeg library and a running game maps none,
# while an export maps them from its module. Without the module beside the program, or with a
# broken one, an export ends with one line and status 1 and the game plays as ever. --version
# and --help start no engine: they need no display and leave no engine log.
source "$(dirname "$0")/lib.bash"

FFMPEG='lib(avcodec|avformat|avutil|swscale)\.so'
if ldd "$GAME" | grep -qE "$FFMPEG"; then fail "the program links FFmpeg"; fi

(cd "$WORK" && env -u DISPLAY "$GAME" --version >/dev/null && env -u DISPLAY "$GAME" --help >/dev/null) ||
    fail "--version or --help failed without a display"
[ ! -e "$WORK/Ogre.log" ] || fail "--version or --help started the engine"

start_game "$WORK" --record "$WORK/match.vrp"
await_window
if grep -qE "$FFMPEG" "/proc/$GAME_PID/maps"; then fail "the running game mapped FFmpeg"; fi
# Two seconds of play in all: an export of it at a large size lasts long enough to be looked at.
sleep 1
hold 0.2 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after recording"

# An export maps them while it writes (a large size keeps it writing for a while).
(cd "$WORK" && exec env --default-signal=INT "$GAME" --replay "$WORK/match.vrp" \
    --export "$WORK/big.mkv" --size 2048x1536 >"$WORK/stdout" 2>"$WORK/stderr") &
GAME_PID=$!
for i in $(seq 1 1200); do
    compgen -G "$WORK/big.mkv.export-*" >/dev/null && break
    sleep 0.05
done
grep -qE "$FFMPEG" "/proc/$GAME_PID/maps" || fail "the export did not map FFmpeg"
kill -INT "$GAME_PID"
await_exit 60

# The program alone in a folder with its media: the module missing, then not a module.
mkdir "$WORK/alone"
cp "$GAME" "$WORK/alone/"
cp -r "$GAME_DIR/media" "$WORK/alone/"
for module in missing broken; do
    [ "$module" = broken ] && echo "not a library" >"$WORK/alone/vorrak-export.so"
    status=0
    "$WORK/alone/vorrak" --replay "$WORK/match.vrp" --export "$WORK/clip.mkv" \
        >/dev/null 2>"$WORK/stderr" || status=$?
    [ "$status" -eq 1 ] || fail "exit status $status with the module $module"
    [ "$(wc -l <"$WORK/stderr")" -eq 1 ] &&
        grep -q "^vorrak: Cannot export to '.*clip.mkv': the export module .*/alone/vorrak-export.so cannot be loaded (" \
            "$WORK/stderr" || fail "with the module $module: $(cat "$WORK/stderr")"
    [ ! -e "$WORK/clip.mkv" ] || fail "a video was made with the module $module"
    (cd "$WORK/alone" && timeout 60 ./vorrak --frame-data >/dev/null 2>&1) ||
        fail "the game did not run with the module $module"
done
echo "ok"
