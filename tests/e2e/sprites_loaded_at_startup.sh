#!/usr/bin/env bash
# Every sprite's image is loaded while the game starts, before its keyboard is opened, so
# that no move waits for its pictures the first time it is used.
source "$(dirname "$0")/lib.bash"

start_game "$WORK"
await_window
hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"

startup=$(sed '/\*\*\* Initializing OIS \*\*\*/q' "$WORK/Ogre.log")
fighter=$GAME_DIR/media/fighters/sora/fighter.toml
images=$(sed -n 's/^[A-Za-z0-9_]* = "\(.*\.png\)"$/\1/p' "$fighter")
[ "$(wc -w <<<"$images")" -eq 11 ] || fail "not the eleven sprites in $fighter: $images"
for image in $images; do
    grep -q "Texture '$image': Loading" <<<"$startup" || fail "$image was not loaded at start-up"
done
echo "ok"
