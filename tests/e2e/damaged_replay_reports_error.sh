#!/usr/bin/env bash
# A damaged replay file ends the program with one line on stderr and exit 1, before the engine
# starts; a file of gigabytes is refused by its size without being read, and one that cannot be
# read is refused with the system's reason. A recording of Brann on the courtyard is refused,
# naming him, by a game without him or with another file of him.
source "$(dirname "$0")/lib.bash"

RUN_AS=()
expect_refusal() {
    local file=$1 reason=$2
    EXIT_STATUS=0
    timeout 20 "${RUN_AS[@]}" "$GAME" --replay "$file" >"$WORK/stdout" 2>"$WORK/stderr" || EXIT_STATUS=$?
    [ "$EXIT_STATUS" -eq 1 ] || fail "exit status $EXIT_STATUS for $file"
    [ "$(wc -l <"$WORK/stderr")" -eq 1 ] || fail "not one line on stderr for $file"
    grep -q "^vorrak: Cannot play back '$file': .*$reason" "$WORK/stderr" ||
        fail "unexpected report for $file: $(cat "$WORK/stderr")"
}

printf 'VORRAKRP\001\000' >"$WORK/short.vrp"
expect_refusal "$WORK/short.vrp" "truncated"
head -c 4096 /dev/urandom >"$WORK/junk.vrp"
expect_refusal "$WORK/junk.vrp" "not a Vorrak replay"
truncate -s 8G "$WORK/huge.vrp"
expect_refusal "$WORK/huge.vrp" "too large"
expect_refusal "$WORK/missing.vrp" "No such file"
chmod 000 "$WORK/junk.vrp"
# Root reads any file: the refusal is seen as another user.
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$WORK"
    RUN_AS=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
expect_refusal "$WORK/junk.vrp" "Permission denied"

RUN_AS=()
cp "$(dirname "$0")/../data/replays/versus-cpu6-brann-courtyard.vrp" "$WORK/brann.vrp"
mkdir -p "$WORK/game"
cp "$GAME" "$WORK/game/"
cp -r "$GAME_DIR/media" "$WORK/game/"
GAME=$WORK/game/vorrak
echo "# one more line" >>"$WORK/game/media/fighters/brann/fighter.toml"
expect_refusal "$WORK/brann.vrp" "its left fighter 'brann' was recorded from another file than this Vorrak's"
rm -r "$WORK/game/media/fighters/brann"
expect_refusal "$WORK/brann.vrp" "it names the fighter 'brann', which this Vorrak does not have"
echo "ok"
