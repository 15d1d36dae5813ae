# Shared by the front door's end-to-end tests (vorrak --menu): its keys, its menus on screen and
# its scenes, each waited for by the game's own signals (its log, its pictures), never by time.
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"
export XDG_DATA_HOME="$WORK/data"
REPLAYS=$XDG_DATA_HOME/vorrak/replays

# Taps keys one step apart or more, each seen on a step of its own.
press() {
    local key
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.12
    done
}

# The yellow edge of the row in focus: a menu is shown.
menu_shown() {
    [ "$("$PIXELS" between 230,190,60 255,235,120 "window:$WINDOW" 6x440+170+150)" -gt 100 ]
}
no_menu() { ! menu_shown; }

# To the first row of a page that shows again with the row it had.
first_row() { press Up Up Up Up Up Up; }

# The game's one window, found at the start: every scene shows in it.
same_window() {
    local now
    now=$(xdotool search --onlyvisible --name '^Vorrak projekt$' 2>/dev/null | head -n 1 || true)
    [ "$now" = "$WINDOW" ] || fail "the window changed from $WINDOW to '$now'"
}

# The session's next scene (a match, the menus again), which tells its number and mode in the
# log as it starts, in the same window.
SCENE=1
await_scene() {
    SCENE=$((SCENE + 1))
    await_log "^[0-9:]*: Front door: scene $SCENE, $1\$" 60
    same_window
}

# The menus of a new scene are on screen (their first step ran), or a match is, without them.
await_menus() { eventually 30 menu_shown || fail "${1:-no menu} shown"; }
await_match() { eventually 30 no_menu || fail "${1:-the match} shows a menu"; }
