# Shared by the end-to-end tests: start the built game, find its window, hold its keys, wait
# for it to end. Every test gets the game binary as $1 and the close-request tool as $2.
set -euo pipefail

GAME=$(realpath "$1")
WM_CLOSE=${2:-}
GAME_DIR=$(dirname "$GAME")
WORK=$(mktemp -d)
# The game reads the user's bindings file from here: the tests' own, not the user's.
export XDG_CONFIG_HOME="$WORK/config"
GAME_PID=""
WINDOW=""
trap 'cleanup' EXIT

XVFB_PID=""
DISPLAY_NUMBER=""

cleanup() {
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill -9 "$GAME_PID" 2>/dev/null || true
    fi
    stop_display
    rm -rf "$WORK"
}

fail() {
    echo "FAIL: $*" >&2
    [ -f "$WORK/stderr" ] && { echo "--- game stderr:" >&2; cat "$WORK/stderr" >&2; }
    exit 1
}

# Starts the game in the background from the working directory given (default: $WORK), with
# the options that follow it. A script's background job starts with SIGINT ignored; the game
# gets it back as from a terminal.
start_game() {
    local from=${1:-$WORK}
    shift || true
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

# Waits for the game's window and gives it the keyboard focus.
await_window() {
    await_visible
    xdotool windowfocus --sync "$WINDOW"
    # Let the first logic steps run, so the keyboard is being polled.
    sleep 1
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
# machine; the picture is converted afterwards.
capture() {
    xwd -silent -id "$WINDOW" -out "$1"
}

screenshot() {
    capture "$WORK/capture.xwd"
    convert "$WORK/capture.xwd" "$1"
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

stop_display() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    XVFB_PID=""
    rm -f "$WORK/display-number"
}

# Pixels inside a region where one channel clearly dominates: the red and green boxes,
# translucent over whatever lies behind them. Counted at half size, which is plenty.
dominant_pixels() {
    local shot=$1 region=$2 channel=$3 others
    case $channel in
        r) others="r-g>0.25 && r-b>0.25" ;;
        g) others="g-r>0.25 && g-b>0.25" ;;
    esac
    convert "$shot" -crop "$region" +repage -scale 50% -fx "($others) ? 1 : 0" \
        -format '%[fx:int(mean * w * h)]' info:
}
