#!/usr/bin/env bash
# F12 shows the timing overlay in the top right corner and F12 again hides it; a match recorded
# meanwhile replays to the same end, so the overlay is no part of the match. A video of the
# replay shows it only when --timing asks for it.
source "$(dirname "$0")/lib.bash"

corner() { # SHOT FILE: the overlay's corner of a picture
    convert "$1" -crop 250x110+540+66 +repage "$2"
}
differs() {
    [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != 0 ]
}
# Pixels of the overlay's pale yellow text in the corner of a picture.
overlay_text() {
    convert "$1" -crop 250x110+540+66 +repage -fx "(r>0.8 && g>0.75 && b<0.75) ? 1 : 0" \
        -format '%[fx:int(mean * w * h)]' info:
}

# shown_now SHOT N: a picture taken now shows at least N of the overlay's text pixels (N 0:
# none of them).
shown_now() {
    capture "$1"
    if [ "$2" -eq 0 ]; then [ "$(overlay_text "$1")" -eq 0 ]; else [ "$(overlay_text "$1")" -ge "$2" ]; fi
}

start_game "$WORK" --record "$WORK/match.vrp"
await_window
capture "$WORK/before.xwd"
xdotool key F12
eventually 30 shown_now "$WORK/shown.xwd" 200 || fail "F12 showed no overlay"
xdotool key F12
eventually 30 shown_now "$WORK/hidden.xwd" 0 || fail "F12 again left the overlay shown"
hold 0.1 j
xdotool key Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/stderr")"
[ "$(overlay_text "$WORK/before.xwd")" -eq 0 ] || fail "the overlay was shown from the start"
recorded=$(grep -o 'Match ended: .*' "$WORK/Ogre.log")

start_game "$WORK" --replay "$WORK/match.vrp"
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "the replay ended with $EXIT_STATUS: $(cat "$WORK/stderr")"
[ "$(grep -o 'Match ended: .*' "$WORK/Ogre.log")" = "$recorded" ] ||
    fail "the replay did not end as recorded"

# Picture 40, or the last one of a quick recording (F12 twice may take fewer steps on a fast
# machine).
last=$(recorded_steps "$WORK/match.vrp")
[ "$last" -gt 40 ] && last=40
for video in plain timing; do
    extra=()
    [ "$video" = timing ] && extra=(--timing)
    "$GAME" --replay "$WORK/match.vrp" --export "$WORK/$video.mkv" --to "$last" --no-audio \
        "${extra[@]}" >/dev/null 2>"$WORK/stderr" || fail "the $video export failed"
    ffmpeg -loglevel error -i "$WORK/$video.mkv" -vf "select=eq(n\,$((last - 1)))" -frames:v 1 \
        "$WORK/$video.png" || fail "no picture $last in the $video video"
done
[ "$(overlay_text "$WORK/plain.png")" -eq 0 ] || fail "a plain export shows the overlay"
[ "$(overlay_text "$WORK/timing.png")" -ge 200 ] || fail "--timing shows no overlay"
echo "ok"
