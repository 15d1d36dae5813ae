#!/usr/bin/env bash
# SDL only in the device module: the program names no SDL library, a running game maps it from
# the module beside it once its first picture is drawn, and without the module the game plays
# on, silently and with the keys alone, saying why in its log.
source "$(dirname "$0")/lib.bash"

if ldd "$GAME" | grep -q 'libSDL2'; then fail "the program links SDL"; fi

start_game "$WORK" --record "$WORK/match.vrp"
await_window
for library in vorrak-devices.so libSDL2; do
    grep -q "$library" "/proc/$GAME_PID/maps" || fail "the running game did not map $library"
done
hold 0.2 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after recording"

mkdir "$WORK/alone"
cp -r "$GAME" "$GAME_DIR/media" "$WORK/alone/"
status=0
(cd "$WORK/alone" && timeout 60 ./vorrak --replay "$WORK/match.vrp" >/dev/null 2>&1) || status=$?
[ "$status" -eq 0 ] || fail "exit status $status without the device module"
grep -q "Devices: the module .*/alone/vorrak-devices.so cannot be loaded .*; the game plays with the keys alone and without sound" \
    "$WORK/alone/Ogre.log" || fail "no word of the missing device module in Ogre.log"
echo "ok"
