#!/usr/bin/env bash
# What a broken installation or environment does: a clear report on stderr and status 1,
# never a crash or a hang.
source "$(dirname "$0")/lib.bash"

# A copy of the program with its resources beside it, to break one piece at a time.
install_copy() {
    rm -rf "$WORK/game"
    mkdir -p "$WORK/game"
    cp "$GAME" "$WORK/game/"
    cp -r "$GAME_DIR/media" "$WORK/game/"
}

# Runs the copy (or the program given in $3) to its end without a window being needed, and
# checks the report. Each case ends within seconds on a quiet machine, far more on a busy one;
# 124 is a hang.
expect_report() {
    local what=$1 pattern=$2 program=${3:-$WORK/game/vorrak} status=0
    timeout 150 "$program" >"$WORK/stdout" 2>"$WORK/stderr" || status=$?
    [ "$status" -eq 1 ] || fail "$what: exit status $status, expected 1"
    grep -q '^An exception has occurred!$' "$WORK/stderr" || fail "$what: no report title"
    grep -q -- "$pattern" "$WORK/stderr" || fail "$what: report does not mention '$pattern'"
}

# A fighter's file that cannot be played: one line naming the file (and the line and field in
# it), status 1, before any window.
expect_line() {
    local what=$1 pattern=$2 status=0
    timeout 150 "$WORK/game/vorrak" >"$WORK/stdout" 2>"$WORK/stderr" || status=$?
    [ "$status" -eq 1 ] || fail "$what: exit status $status, expected 1"
    [ "$(wc -l <"$WORK/stderr")" -eq 1 ] || fail "$what: not one line: $(cat "$WORK/stderr")"
    grep -q -- "^vorrak: .*$pattern" "$WORK/stderr" || fail "$what: '$(cat "$WORK/stderr")' does not say '$pattern'"
}
FIGHTER=$WORK/game/media/fighters/sora/fighter.toml

cd "$WORK"

install_copy
mv "$WORK/game/media" "$WORK/game/media.away"
expect_line "media missing" "media/fighters/sora/fighter.toml: No such file"

install_copy
rm "$FIGHTER"
expect_line "the fighter's file missing" "fighter.toml: No such file"

# Damaged or out of range: each case names the line and the field.
for case in 's/^health = 1000/health = "lots"/:fighter.toml:6: health: must be a whole number' \
    's/^damage = 50/damage = 5000/:fighter.toml:43: hits.punch.damage: 5000 is not 0 to 1000' \
    's/steps = 15 }, { sprite = "Idle2"/steps = 0 }, { sprite = "Idle2"/:fighter.toml:61: actions.idle.sprites\[0\].steps: 0 is not 1 to' \
    's/left = 30, right = 65/left = 65, right = 30/:fighter.toml:28: boxes.punching.attack\[0\]: a box of negative size' \
    's/{ directions = \["down"\], window = 8 }/{ directions = [], window = 8 }/:fighter.toml:144: actions.special.motion.steps\[0\].directions: a motion step needs at least one direction' \
    's/sprite = "Block"/sprite = "Blok"/:fighter.toml:76: actions.block.sprites\[0\].sprite: the sprite .Blok. is not one of' \
    's/^name = "Sora"/name = "Sora/:fighter.toml:5: '; do
    install_copy
    sed -i "${case%%:*}" "$FIGHTER"
    expect_line "fighter file: ${case%%:*}" "${case#*:}"
done

install_copy
printf 'material Sprite\n{\n    technique\n    {\n        pass\n' >"$WORK/game/media/Sprite.material"
expect_report "a material script that fails" "Sprite"

install_copy
head -c 3000 /dev/urandom >"$WORK/game/media/SpecialChars.png"
expect_report "a font image of random bytes" "SpecialChars.png. is damaged: it is not a PNG image"

# The engine's image decoder never returns on pixel data cut short whose check values were made
# to fit it: an image of one IDAT chunk, that chunk cut to half.
install_copy
convert -size 32x32 xc: +noise Random -define png:exclude-chunks=all "$WORK/whole.png"
[ "$(tail -c +38 "$WORK/whole.png" | head -c 4)" = IDAT ] || fail "the made image has no IDAT first"
half=$(($(od -An -tu4 --endian=big -j33 -N4 "$WORK/whole.png") / 2))
{ printf IDAT; dd if="$WORK/whole.png" iflag=skip_bytes,count_bytes skip=41 count="$half" status=none; } >"$WORK/idat"
# gzip's trailer holds the CRC-32 of its input, little-endian; PNG stores it big-endian.
crc=$(gzip -c <"$WORK/idat" | tail -c 8 | od -An -tu4 -N4)
{
    head -c 33 "$WORK/whole.png"
    printf '%08x' "$half" | xxd -r -p
    cat "$WORK/idat"
    printf '%08x' "$crc" | xxd -r -p
    tail -c 12 "$WORK/whole.png"
} >"$WORK/game/media/fighters/sora/Idle1.png"
expect_report "an image cut short behind fitting check values" "Idle1.png' is damaged: it does not decode"

# The engine's script compiler follows imports round a cycle until its stack overflows.
install_copy
printf 'import * from "Self.material"\n' >"$WORK/game/media/Self.material"
expect_report "a script that imports itself" "Self.material' imports itself"
install_copy
printf 'import * from "Mutual2.material"\n' >"$WORK/game/media/Mutual1.material"
printf 'import * from "Mutual1.material"\n' >"$WORK/game/media/Mutual2.material"
expect_report "two scripts that import each other" \
    "Mutual1.material imports Mutual2.material, which imports Mutual1.material"

# The engine's reader loops forever on a folder, blocks on a FIFO and reads a device without
# end: each is refused before it is opened.
for kind in "folder:is a directory" "fifo:is not a regular file" "zero:is not a regular file" \
    "huge:is larger than 256 KiB"; do
    install_copy
    rm "$FIGHTER"
    case ${kind%%:*} in
        folder) mkdir "$FIGHTER" ;;
        fifo) mkfifo "$FIGHTER" ;;
        zero) ln -s /dev/zero "$FIGHTER" ;;
        huge) head -c 2000000 /dev/zero | tr '\0' '#' >"$FIGHTER" ;;
    esac
    expect_line "the fighter's file as ${kind%%:*}" "fighter.toml: ${kind#*:}"
done

install_copy
mkfifo "$WORK/game/media/Extra.material"
expect_report "a FIFO among the media" "Extra.material' is a FIFO"

# The engine's script compiler would overflow its stack on these.
install_copy
printf 'a {\n%.0s' $(seq 50000) >"$WORK/game/media/zz.material"
expect_report "a script nested 50,000 deep" "zz.material' nests its blocks ('{') more than 64 deep"

install_copy
cp "$WORK/game/media/Ground.material" "$WORK/game/media/Ground2.material"
expect_report "a material defined twice" \
    "material 'Ground' is defined twice in $WORK/game/media: in Ground.material and in Ground2.material"

# Folders of 200 characters down to near the system's path limit: the game's folder fits,
# the paths of its media do not.
deep=$WORK/deep
mkdir "$deep"
while [ $((${#deep} + 201)) -lt 4070 ]; do
    deep=$deep/$(printf 'd%.0s' $(seq 200))
done
deep=$deep/$(printf 'e%.0s' $(seq $((4080 - ${#deep}))))
mkdir -p "$deep"
(cd "$WORK/game" && tar cf - vorrak media) | (cd "$deep" && tar xf -)
(cd "$deep" && timeout 150 ./vorrak >"$WORK/stdout" 2>"$WORK/stderr") && fail "a path near the system's limit: it started"
grep -q "too long" "$WORK/stderr" || fail "a path near the system's limit: $(cat "$WORK/stderr")"

# A display without the GL extension the render system needs.
start_display -extension GLX
install_copy
(DISPLAY=:$DISPLAY_NUMBER expect_report "a display without GLX" "GLX")
stop_display

install_copy
(unset DISPLAY; expect_report "no display" "display")
(DISPLAY=:9999 expect_report "an unreachable display" "display")
echo "ok"
