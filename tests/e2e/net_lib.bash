# Online play in the end-to-end tests: two games (or a game and the stand-in peer) on this
# machine's loopback, each in a folder of its own under $WORK. Sourced after lib.bash.
NET_PEER=${3:-}
PORT=$((20000 + RANDOM % 20000))
declare -A PIDS=()
trap 'for p in "${PIDS[@]}"; do kill -9 "$p" 2>/dev/null || true; done; cleanup' EXIT

# start_side NAME ARGS...: the game in $WORK/NAME with its output in files there.
start_side() {
    local name=$1
    shift
    mkdir -p "$WORK/$name"
    (cd "$WORK/$name" && exec "$GAME" "$@" >stdout 2>stderr) &
    PIDS[$name]=$!
}

# await_title PATTERN: prints the id of the window whose title matches, once there is one.
await_title() {
    local i id
    for i in $(seq 1 300); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
    fail "no window titled '$1' appeared"
}

# await_said NAME PATTERN SECONDS: waits for a line of the game's log to match.
await_said() {
    local deadline=$((SECONDS + $3))
    until grep -q "$2" "$WORK/$1/Ogre.log" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || fail "$1 did not say '$2' within $3 seconds"
        sleep 0.05
    done
}

# await_running NAME: waits for the game's first logic step; its online driver (a host's port)
# is open from then on.
await_running() {
    await_said "$1" '^[0-9:]*: \(Sound\|Devices\): ' 30
}

# await_side NAME SECONDS: waits for the game to end and sets STATUS.
await_side() {
    local pid=${PIDS[$1]} i
    for i in $(seq 1 $(($2 * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            STATUS=0
            wait "$pid" || STATUS=$?
            unset "PIDS[$1]"
            return
        fi
        sleep 0.1
    done
    fail "$1 did not end within $2 seconds"
}

expect_end() { # NAME SECONDS STATUS TEXT: ends in time, with that status, saying that
    await_side "$1" "$2"
    [ "$STATUS" -eq "$3" ] || fail "$1 ended with status $STATUS, not $3: $(cat "$WORK/$1/stderr")"
    grep -q "$4" "$WORK/$1/stderr" || fail "$1 did not say '$4': $(cat "$WORK/$1/stderr")"
}

# said_alone NAME [LINES]: the side's stderr is LINES lines (1 when not given), each its own
# word "vorrak: ...", none an engine fault's report.
said_alone() {
    local lines
    lines=$(wc -l <"$WORK/$1/stderr")
    [ "$lines" -eq "${2:-1}" ] && ! grep -qv '^vorrak: ' "$WORK/$1/stderr" ||
        fail "$1 said more or other than ${2:-1} line(s): $(cat "$WORK/$1/stderr")"
}

# ended NAME: the line with which that side's match ended, from its log.
ended() { grep -o 'Match ended: .*' "$WORK/$1/Ogre.log"; }

# start_relay: the stand-in bad link (150 ms, jitter, 10% lost, 5% twice) to the host's $PORT,
# for 300 s (the test ends it sooner); sets relay to the port it listens on.
start_relay() {
    "$NET_PEER" relay "$PORT" 300 >"$WORK/relay.port" &
    PIDS[relay]=$!
    for _ in $(seq 1 50); do [ -s "$WORK/relay.port" ] && break; sleep 0.1; done
    relay=$(cat "$WORK/relay.port")
    [ -n "$relay" ] || fail "the relay did not start"
}
