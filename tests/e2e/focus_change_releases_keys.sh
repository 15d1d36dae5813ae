#!/usr/bin/env bash
# Keys held while the focus moves to a second window and back: a key released in the other
# window stops counting when the focus returns, one still held keeps working. Both players'
# keys, read from the recording of the match (each step's two directions).
source "$(dirname "$0")/lib.bash"

OTHER_PID=""
trap 'kill "$OTHER_PID" 2>/dev/null || true; cleanup' EXIT

# The players' directions in the recording's last steps before Escape, as "P1 P2" per line
# (numpad digit minus one: 4 still, 5 right, 3 left). The steps follow the header and come
# before the closing record of 23 bytes (12 words as od reads them).
last_directions() {
    od -An -v -tu2 -w2 -j"$(replay_header_size "$1")" "$1" | awk -v count="$2" '
        { word[NR] = $1 }
        END {
            steps = 0
            for (i = 1; i <= NR - 12; ) {
                s[++steps] = word[i++]
                if (steps % 60 == 0) i += 4
            }
            # The last step is Escape, which carries no players input.
            for (n = steps - count; n < steps; n++)
                print s[n] % 16, int(s[n] / 64) % 16
        }'
}

xlogo -geometry 200x200+820+0 &
OTHER_PID=$!
OTHER=$(xdotool search --sync --onlyvisible --class xlogo | head -n 1)

for case in released held; do
    start_game "$WORK" --record "$WORK/$case.vrp"
    await_window
    xdotool keydown d Left
    sleep 0.3
    xdotool windowfocus --sync "$OTHER"
    sleep 0.2
    [ "$case" = released ] && xdotool keyup d Left
    sleep 0.2
    xdotool windowfocus --sync "$WINDOW"
    sleep 0.5
    xdotool key Escape
    xdotool keyup d Left
    await_exit 60
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS ($case)"
    expected=$([ "$case" = released ] && echo "4 4" || echo "5 3")
    # The last 10 steps (a sixth of a second) before Escape.
    last=$(last_directions "$WORK/$case.vrp" 10 | sort -u)
    [ "$last" = "$expected" ] || fail "keys $case in the other window: directions '$last', expected '$expected'"
done
echo "ok"
