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

# Runs the copy (or the program given in $3) to its end without a window being needed, and
# checks the report. Each case ends within seconds; 124 is a hang.
expect_report() {
    local what=$1 pattern=$2 program=${3:-$WORK/game/vorrak} status=0
    timeout 30 "$program" >"$WORK/stdout" 2>"$WORK/stderr" || status=$?
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
} >"$WORK/game/media/Idle1.png"
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
for kind in "folder:is a folder" "fifo:is a FIFO" "zero:is a character device" \
    "huge:is 2000000 bytes long"; do
    install_copy
    rm "$WORK/game/sprites.cfg"
    case ${kind%%:*} in
        folder) mkdir "$WORK/game/sprites.cfg" ;;
        fifo) mkfifo "$WORK/game/sprites.cfg" ;;
        zero) ln -s /dev/zero "$WORK/game/sprites.cfg" ;;
        huge) head -c 2000000 /dev/zero | tr '\0' '#' >"$WORK/game/sprites.cfg" ;;
    esac
    expect_report "sprites.cfg as ${kind%%:*}" "sprites.cfg' ${kind#*:}"
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
(cd "$WORK/game" && tar cf - vorrak media sprites.cfg) | (cd "$deep" && tar xf -)
(cd "$deep" && expect_report "a path near the system's limit" "is too long" ./vorrak)

# A display without the GL extension the render system needs.
start_display -extension GLX
install_copy
(DISPLAY=:$DISPLAY_NUMBER expect_report "a display without GLX" "GLX")
stop_display

install_copy
(unset DISPLAY; expect_report "no display" "display")
(DISPLAY=:9999 expect_report "an unreachable display" "display")
echo "ok"
