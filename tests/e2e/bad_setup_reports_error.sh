#!/usr/bin/env bash
# What a broken installation or environment does: a clear report on stderr and status 1,
# never a crash or a hang.
source "$(dirname "$0")/lib.bash"

# A copy of the program with its resources beside it, to break one piece at a time.
install_copy() {
    rm -rf "$WORK/game"
    mkdir -p "$WORK/game"
    cp "$GAME" "$WORK/game/"
    cp -r "$GAME_DIR/media" "$GAME_DIR/sprites.cfg" "$WORK/game/"
}

# Runs the copy to its end without a window being needed, and checks the report.
expect_report() {
    local what=$1 pattern=$2 status=0
    timeout 60 "$WORK/game/vorrak" >"$WORK/stdout" 2>"$WORK/stderr" || status=$?
    [ "$status" -eq 1 ] || fail "$what: exit status $status, expected 1"
    grep -q '^An exception has occurred!$' "$WORK/stderr" || fail "$what: no report title"
    grep -q -- "$pattern" "$WORK/stderr" || fail "$what: report does not mention '$pattern'"
}

cd "$WORK"

install_copy
mv "$WORK/game/media" "$WORK/game/media.away"
expect_report "media missing" "media"

install_copy
rm "$WORK/game/sprites.cfg"
expect_report "sprites.cfg missing" "sprites.cfg"

install_copy
printf 'material Sprite\n{\n    technique\n    {\n        pass\n' >"$WORK/game/media/Sprite.material"
expect_report "a material script that fails" "Sprite"

install_copy
(unset DISPLAY; expect_report "no display" "display")
(DISPLAY=:9999 expect_report "an unreachable display" "display")
echo "ok"
