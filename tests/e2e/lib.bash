# Shared by the end-to-end tests: start the built game, find its window, hold its keys, wait
# for it to end, count its pixels. Every test gets the game binary as $1 and the close-request
# tool as $2; the pixel counter is built beside the game.
set -euo pipefail

GAME=$(realpath "$1")
WM_CLOSE=${2:-}
GAME_DIR=$(dirname "$GAME")
PIXELS=$GAME_DIR/pixels
WORK=$(mktemp -d)
# The game reads the user's bindings file from here: the tests' own, not the user's.
export XDG_CONFIG_HOME="$WORK/config"
GAME_PID=""
WINDOW=""
# Whatever else a test starts in the background, ended with it.
BACKGROUND=()
trap 'cleanup' EXIT

XVFB_PID=""
DISPLAY_NUMBER=""

cleanup() {
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill -9 "$GAME_PID" 2>/dev/null || true
    fi
    local pid
    for pid in "${BACKGROUND[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
    done
    stop_display
    rm -rf "$WORK"
}

fail() {
    echo "FAIL: $*" >&2
    [ -f "$WORK/stderr" ] && { echo "--- game stderr:" >&2; cat "$WORK/stderr" >&2; }
    exit 1
}

# Starts the game in the background from the working directory given (default: $WORK), with
# the options that follow it; its log is GAME_LOG, the last run's removed first. A script's
# background job starts with SIGINT ignored; the game gets it back as from a terminal.
start_game() {
    local from=${1:-$WORK}
    shift || true
    GAME_LOG=$from/Ogre.log
    rm -f "$GAME_LOG"
    (cd "$from" && exec env --default-signal=INT "$GAME" "$@" >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
}

# Waits for the game's window to show, at most 30 s, and names it in WINDOW. The game shows its
# window once its keyboard listens.
await_visible() {
    local i
    for i in $(seq 1 3000); do
        WINDOW=$(xdotool search --onlyvisible --name '^Vorrak projekt$' 2>/dev/null | head -n 1 || true)
        [ -n "$WINDOW" ] && return
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.01
    done
    fail "no window titled 'Vorrak projekt' appeared"
}

# Waits for the game's window, gives it the keyboard focus and waits for the first logic step.
await_window() {
    await_visible
    xdotool windowfocus --sync "$WINDOW"
    await_first_step
}

# The devices open (and say so in the log) once the first picture is shown, right before the
# first logic step.
await_first_step() {
    await_log '^[0-9:]*: \(Sound\|Devices\): ' 30
}

# await_log PATTERN SECONDS: waits for a line of the game's log to match.
await_log() {
    local deadline=$((SECONDS + $2))
    until grep -q "$1" "$GAME_LOG" 2>/dev/null; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its log said '$1'"
        [ "$SECONDS" -lt "$deadline" ] || fail "the game's log did not say '$1' within $2 s"
        sleep 0.02
    done
}

# eventually SECONDS COMMAND...: runs the command until it succeeds, for at most SECONDS;
# false when it never did. For what the game shows a moment after a key.
eventually() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.03
    done
}

# second_health_changed PICTURE: the second player's health readout, lower right, is not what
# the picture (taken by capture) shows: a hit landed since. For eventually, after a punch.
second_health_changed() {
    [ "$(differing_pixels 8 "$1" "window:$WINDOW" 160x60+480+470)" -ge 20 ]
}

# Holds keys for several logic steps, for what needs a key held (walking, a motion command);
# a tap (xdotool key) is seen as down in one step.
hold() {
    local seconds=$1
    shift
    xdotool keydown "$@"
    sleep "$seconds"
    xdotool keyup "$@"
}

# Each argument is a command line the game must refuse: exit status 2 and its usage line.
expect_refused() {
    local wrong status
    for wrong in "$@"; do
        status=0
        # shellcheck disable=SC2086
        "$GAME" $wrong >/dev/null 2>"$WORK/usage" || status=$?
        [ "$status" -eq 2 ] || fail "'$wrong' exited $status, not 2"
        grep -q '^Usage: vorrak' "$WORK/usage" || fail "'$wrong' printed no usage line"
    done
}

# The first player walks in and punches; once the punch has landed, Escape ends the game.
punch_and_quit() {
    hold 1.0 d
    hold 0.1 j
    sleep 1.2
    hold 0.3 Escape
    await_exit 20
}

# Waits up to $1 seconds for the game to end and sets EXIT_STATUS. Runs in this shell, not
# in a subshell: only the shell that started the game can collect its exit status.
await_exit() {
    local timeout=$1 i
    for i in $(seq 1 $((timeout * 10))); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            EXIT_STATUS=0
            wait "$GAME_PID" || EXIT_STATUS=$?
            GAME_PID=""
            return
        fi
        sleep 0.1
    done
    fail "the game did not end within $timeout seconds"
}

# Grabs the window as it is now: xwd is quick, so the moment is well defined even on a busy
# machine; the picture is looked at afterwards.
capture() {
    xwd -silent -id "$WINDOW" -out "$1"
}

# keep_shot PICTURE NAME: a picture taken by capture, kept as NAME.png in $SCREENSHOTS when set.
keep_shot() {
    [ -z "${SCREENSHOTS:-}" ] || convert "$1" "$SCREENSHOTS/$2.png"
}

# Starts a display of its own (Xvfb with the options given) and sets DISPLAY_NUMBER; the
# server picks a free number itself.
start_display() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 "$@" 3>"$WORK/display-number" >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        DISPLAY_NUMBER=$(cat "$WORK/display-number" 2>/dev/null || true)
        [ -n "$DISPLAY_NUMBER" ] && return
        sleep 0.1
    done
    fail "the display of this test did not start"
}

# A display a test stopped (SIGSTOP) is let go on too, or it would never end.
stop_display() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        kill -CONT "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    XVFB_PID=""
    rm -f "$WORK/display-number"
}

# Recordings checked beside the rest of the test, where the replay's window is not what is
# tested: check_recording FILE starts the export's check of it, which plays it through on the
# rules, every checksum as recorded to the last step, draws one small picture and keeps its
# window hidden; await_recordings waits for every check started and fails on the first whose
# recording does not play back as recorded.
CHECKS=()
check_recording() {
    local dir=$WORK/check-${#CHECKS[@]}
    mkdir -p "$dir"
    (cd "$dir" && exec "$GAME" --replay "$1" --export "$dir/picture.mkv" --to 1 --size 16x16 \
        --no-audio >stdout 2>stderr) &
    CHECKS+=("$!:$dir:$1")
    BACKGROUND+=("$!")
}

await_recordings() {
    local check pid dir status
    for check in "${CHECKS[@]}"; do
        pid=${check%%:*}
        dir=${check#*:}
        dir=${dir%%:*}
        status=0
        wait "$pid" || status=$?
        [ "$status" -eq 0 ] || fail "${check#*:*:} does not play back as recorded" \
            "(status $status): $(cat "$dir/stderr")"
    done
    CHECKS=()
}

# The checksum of the match after a recording's last step, as its closing record holds it and
# the game's 'Match ended' line names it (replay format 5: the record's 23 bytes are the step
# count, this checksum, the result and the check value).
final_checksum() {
    printf '%016x' "$(od -An -tu8 -j $(($(stat -c %s "$1") - 19)) -N8 "$1")"
}

# The number of steps a recording holds, from its closing record.
recorded_steps() {
    od -An -tu4 -j $(($(stat -c %s "$1") - 23)) -N4 "$1" | tr -d ' '
}

# Where a recording of a match from its start begins its steps: after the format, the three
# names with their fingerprints, the mode, the rules, the saved match's size (0) and the first
# step's number.
replay_header_size() {
    local at=10 length
    for _ in 1 2 3; do
        length=$(od -An -tu1 -j "$at" -N1 "$1" | tr -d ' ')
        at=$((at + 1 + length + 8))
    done
    echo $((at + 3 + 7 + 4 + 4))
}

# Pixels inside a region (WxH+X+Y) where one channel (r or g) clearly dominates: the red and
# green boxes, translucent over whatever lies behind them. SOURCE: a picture taken by capture,
# or window:ID for the window as it is now.
dominant_pixels() {
    "$PIXELS" dominant "$3" "$1" "$2"
}

# differing_pixels PERCENT SOURCE OTHER REGION [+X+Y]: pixels of the region that differ between
# the two by more than PERCENT in some channel; OTHER's region at +X+Y when given.
differing_pixels() {
    "$PIXELS" differ "$@"
}

# A second signal while recording: signal_gap RUN RUNS is the gap of run RUN of RUNS in seconds,
# 5 to 200 ms evenly spread; ctrl_c_twice PID GAP; recording_kept FILE checks that the
# recording is complete under its name, with nothing left beside it, and plays back (see
# await_recordings).
signal_gap() { printf '0.%03d' $((5 + 195 * $1 / ($2 > 1 ? $2 - 1 : 1))); }

ctrl_c_twice() {
    kill -INT "$1"
    sleep "$2"
    kill -INT "$1" 2>/dev/null || true
}

recording_kept() {
    [ -f "$1" ] || fail "the recording $1 was lost: $(ls "$(dirname "$1")")"
    ! compgen -G "$1.recording-*" >/dev/null || fail "a temporary file was left beside $1"
    check_recording "$1"
}
