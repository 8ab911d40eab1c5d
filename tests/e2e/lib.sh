# Helpers for the end-to-end tests: each runs the real game from a copy of
# the run folder in a scratch directory, under the X display in $DISPLAY.
# Source it, then call e2e_init "$1".

e2e_game_pid=""
e2e_scratch=""
e2e_run_dir=""

e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "$e2e_game_pid" ] && [ -f "$e2e_scratch/game/game.out" ]; then
        echo "--- game output:" >&2
        cat "$e2e_scratch/game/game.out" >&2 || true
    fi
    if [ -f "$e2e_scratch/game/debug.log" ]; then
        echo "--- debug.log:" >&2
        cat "$e2e_scratch/game/debug.log" >&2 || true
    fi
    e2e_cleanup
    exit 1
}

e2e_cleanup() {
    if [ -n "$e2e_game_pid" ] && kill -0 "$e2e_game_pid" 2>/dev/null; then
        kill "$e2e_game_pid" 2>/dev/null || true
        sleep 0.5
        kill -9 "$e2e_game_pid" 2>/dev/null || true
    fi
    e2e_game_pid=""
    if [ -n "$e2e_scratch" ]; then
        rm -rf "$e2e_scratch"
        e2e_scratch=""
    fi
}

# e2e_init RUN_DIR: checks the tools and the executable, makes the scratch dir.
e2e_init() {
    e2e_run_dir=${1:-}
    [ -n "$e2e_run_dir" ] || { echo "usage: $0 RUN_DIR" >&2; exit 2; }
    e2e_run_dir=$(cd "$e2e_run_dir" && pwd) || { echo "FAIL: no run folder $1" >&2; exit 1; }
    [ -x "$e2e_run_dir/tidewander" ] || { echo "FAIL: no tidewander in $e2e_run_dir" >&2; exit 1; }
    [ -n "${DISPLAY:-}" ] || { echo "FAIL: DISPLAY is not set (./test starts a virtual one)" >&2; exit 1; }
    for tool in xdotool xwininfo timeout; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed" >&2; exit 1; }
    done
    e2e_scratch=$(mktemp -d "${TMPDIR:-/tmp}/tidewander-e2e-XXXXXX")
    trap e2e_cleanup EXIT
    trap 'e2e_cleanup; exit 1' INT TERM
}

# e2e_start [SETTINGS_TEXT]: a fresh copy of the run folder, with settings.cfg
# holding the text if one is given, and the game started in it.
e2e_start() {
    rm -rf "$e2e_scratch/game"
    cp -r "$e2e_run_dir" "$e2e_scratch/game"
    rm -f "$e2e_scratch/game/debug.log" "$e2e_scratch/game/settings.cfg"
    if [ $# -gt 0 ]; then
        printf '%s\n' "$1" >"$e2e_scratch/game/settings.cfg"
    fi
    (cd "$e2e_scratch/game" && exec ./tidewander >game.out 2>&1) &
    e2e_game_pid=$!
}

# e2e_window [SECONDS]: prints the id of the game's window once it is there.
e2e_window() {
    local wid
    wid=$(timeout "${1:-15}" xdotool search --sync --name '^Tidewander$' 2>/dev/null | head -n 1) || true
    [ -n "$wid" ] || e2e_fail "no window named Tidewander appeared"
    echo "$wid"
}

# e2e_wait_log TEXT [SECONDS]: waits until debug.log holds the line.
e2e_wait_log() {
    local deadline=$((SECONDS + ${2:-5}))
    while [ $SECONDS -lt $deadline ]; do
        grep -qxF "$1" "$e2e_scratch/game/debug.log" 2>/dev/null && return 0
        sleep 0.1
    done
    e2e_fail "debug.log has no line \"$1\""
}

# e2e_size WINDOW: prints WIDTHxHEIGHT of the window.
e2e_size() {
    xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# e2e_key WINDOW KEY: focuses the window and holds the key long enough for
# the game to see it.
e2e_key() {
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool keydown "$2"
    sleep 0.15
    xdotool keyup "$2"
}

# e2e_expect_exit WINDOW KEY [SECONDS]: presses the key (again each second)
# until the game ends; fails unless it ends in time with status 0.
e2e_expect_exit() {
    local deadline=$((SECONDS + ${3:-5})) status
    while kill -0 "$e2e_game_pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || e2e_fail "the game did not end after $2"
        e2e_key "$1" "$2" 2>/dev/null || true
        sleep 1
    done
    status=0
    wait "$e2e_game_pid" || status=$?
    e2e_game_pid=""
    [ "$status" -eq 0 ] || e2e_fail "the game ended with status $status"
}
