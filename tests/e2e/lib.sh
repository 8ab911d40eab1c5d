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
        # Let go of any key a failed step left down, so the next game gets
        # a quiet keyboard.
        for held in Shift_L Return Down Up Left Right n y x a Escape; do xdotool keyup "$held" 2>/dev/null || true; done
        kill "$e2e_game_pid" 2>/dev/null || true
        sleep 0.5
        kill -9 "$e2e_game_pid" 2>/dev/null || true
        wait "$e2e_game_pid" 2>/dev/null || true
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
    for tool in xdotool xwininfo timeout import cmp; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed" >&2; exit 1; }
    done
    e2e_scratch=$(mktemp -d "${TMPDIR:-/tmp}/tidewander-e2e-XXXXXX")
    # E2E_SOUND=1 runs every game with the null sound device (see below).
    [ "${E2E_SOUND:-0}" = 1 ] && e2e_null_sound
    trap e2e_cleanup EXIT
    trap 'e2e_cleanup; exit 1' INT TERM
}

# e2e_null_sound: games started from now on get a sound device that plays
# into nothing (an ALSA null device in a home folder of their own), so the
# sound manager runs as on a machine with speakers.
e2e_home=""
e2e_null_sound() {
    e2e_home="$e2e_scratch/home"
    mkdir -p "$e2e_home"
    printf 'pcm.!default {\n    type null\n}\n' >"$e2e_home/.asoundrc"
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
    (cd "$e2e_scratch/game" && HOME=${e2e_home:-$HOME} exec ./tidewander >game.out 2>&1) &
    e2e_game_pid=$!
}

# e2e_restart: starts the game again in the same folder, keeping what the
# last run wrote there (its debug.log starts afresh).
e2e_restart() {
    rm -f "$e2e_scratch/game/debug.log"
    (cd "$e2e_scratch/game" && HOME=${e2e_home:-$HOME} exec ./tidewander >game.out 2>&1) &
    e2e_game_pid=$!
    e2e_wid=$(e2e_window 15) || e2e_fail "no window"
    e2e_skip_logo "$e2e_wid"
}

# e2e_window [SECONDS]: prints the id of the game's window once it is there.
# The window opens as "Tidewander" and the game renames it at start-up.
e2e_window() {
    local wid
    wid=$(timeout "${1:-15}" xdotool search --sync --onlyvisible --name '^Tidewander( by Korvenna)?$' 2>/dev/null | head -n 1) || true
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

# e2e_focus WINDOW: keys go to the focused window. The wait is bounded: a
# window that has gone away never takes the focus.
e2e_focus() {
    timeout 2 xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
}

# e2e_key WINDOW KEY: focuses the window and holds the key long enough for
# the game to see it.
e2e_key() {
    e2e_focus "$1"
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

# e2e_log_has TEXT: true when debug.log holds the line.
e2e_log_has() {
    grep -qxF "$1" "$e2e_scratch/game/debug.log" 2>/dev/null
}

# e2e_wait_log_count TEXT COUNT [SECONDS]: waits until debug.log holds the
# line at least COUNT times (datafiles are unloaded each time a screen that
# used them is left).
e2e_wait_log_count() {
    local deadline=$((SECONDS + ${3:-5})) have
    while [ $SECONDS -lt $deadline ]; do
        have=$(grep -cxF "$1" "$e2e_scratch/game/debug.log" 2>/dev/null)
        [ "${have:-0}" -ge "$2" ] && return 0
        sleep 0.1
    done
    e2e_fail "debug.log holds \"$1\" ${have:-0} times, not $2"
}

# e2e_wait_gone PATH [SECONDS] / e2e_wait_file PATH [SECONDS]: paths are
# relative to the game's folder.
e2e_wait_file() {
    local deadline=$((SECONDS + ${2:-5}))
    while [ $SECONDS -lt $deadline ]; do
        [ -e "$e2e_scratch/game/$1" ] && return 0
        sleep 0.1
    done
    e2e_fail "the game did not write $1"
}
e2e_wait_gone() {
    local deadline=$((SECONDS + ${2:-5}))
    while [ $SECONDS -lt $deadline ]; do
        [ -e "$e2e_scratch/game/$1" ] || return 0
        sleep 0.1
    done
    e2e_fail "$1 is still there"
}

# e2e_expect_content PATH TEXT: the file holds exactly these bytes (give the
# text with its newlines, e.g. $'a\nb\n').
e2e_expect_content() {
    local file="$e2e_scratch/game/$1"
    [ -f "$file" ] || e2e_fail "$1 does not exist"
    if ! printf '%s' "$2" | cmp -s - "$file"; then
        e2e_fail "$1 holds $(od -c "$file" | head -n 8), expected $(printf '%s' "$2" | od -c | head -n 8)"
    fi
}

# e2e_wait_content PATH TEXT [SECONDS]: waits until the file holds exactly
# these bytes (the game writes through a temporary file and a rename).
e2e_wait_content() {
    local deadline=$((SECONDS + ${3:-5}))
    while [ $SECONDS -lt $deadline ]; do
        printf '%s' "$2" | cmp -s - "$e2e_scratch/game/$1" 2>/dev/null && return 0
        sleep 0.1
    done
    e2e_expect_content "$1" "$2"
}

# e2e_press WINDOW KEY...: each key pressed and released in turn, with a
# pause after each so that the game sees every edge in its own frames.
e2e_press() {
    local wid=$1 k
    shift
    for k in "$@"; do
        e2e_key "$wid" "$k"
        sleep 0.2
    done
}

# e2e_type_upper WINDOW LETTER: one capital letter, Shift held around it.
e2e_type_upper() {
    e2e_focus "$1"
    xdotool keydown Shift_L
    sleep 0.1
    e2e_key "$1" "$2"
    sleep 0.1
    xdotool keyup Shift_L
    sleep 0.2
}

# e2e_shot WINDOW FILE: the window's pixels as raw RGB bytes.
e2e_shot() {
    local try
    for try in 1 2 3 4 5; do
        import -window "$1" -depth 8 "rgb:$2" 2>/dev/null && return 0
        sleep 0.2
    done
    e2e_fail "no screenshot of the window"
}

# e2e_differs A B [BYTES]: true when the two shots differ in more than BYTES
# bytes (default 3000, about a thousand pixels: more than a blinking cursor).
e2e_differs() {
    local n
    n=$(cmp -l "$1" "$2" 2>/dev/null | wc -l)
    [ "$n" -gt "${3:-3000}" ]
}

# e2e_change_width A B: how wide the region is in which two 800 x 600 shots
# differ, leaving out the HUD band at the top (its clock ticks by itself).
# A fish bobbing on the spot changes a narrow region; a scrolled level or a
# panel opened over it, a wide one.
e2e_change_width() {
    local box
    box=$(convert -size 800x600 -depth 8 "rgb:$1" "rgb:$2" -crop 800x500+0+100 +repage \
        -compose difference -composite -colorspace gray -threshold 8% -format '%@' info: 2>/dev/null)
    box=${box%%x*}
    echo "${box:-0}"
}

# e2e_wait_change WINDOW REFERENCE [SECONDS]: waits until the window no
# longer looks like the reference shot.
e2e_wait_change() {
    local deadline=$((SECONDS + ${3:-5})) now="$e2e_scratch/now.rgb"
    while [ $SECONDS -lt $deadline ]; do
        e2e_shot "$1" "$now"
        e2e_differs "$2" "$now" && return 0
        sleep 0.2
    done
    return 1
}

# e2e_now: seconds since the epoch, with fractions.
e2e_now() {
    date +%s.%N
}

# e2e_before A B: true when time A is earlier than time B.
e2e_before() {
    awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'
}

# e2e_settle WINDOW [SECONDS]: waits until the window stands still (three
# shots in a row alike: a fade, a glow or a swim has run its course). The
# still picture is left in $e2e_scratch/settled.rgb.
e2e_settle() {
    local deadline=$((SECONDS + ${2:-10})) alike=0
    local last="$e2e_scratch/settled.rgb" now="$e2e_scratch/settling.rgb"
    e2e_shot "$1" "$last"
    while [ $SECONDS -lt $deadline ]; do
        sleep 0.15
        e2e_shot "$1" "$now"
        if cmp -s "$last" "$now"; then
            alike=$((alike + 1))
            [ $alike -ge 2 ] && return 0
        else
            alike=0
            mv "$now" "$last"
        fi
    done
    return 1
}

# e2e_press_seen WINDOW KEY...: each key pressed once the window stands
# still, and the next one only when the window has shown that the game took
# it. A busy machine runs the game slowly, and a key that comes while the
# game is fading or has not drawn the last change yet would be lost; one
# that left no trace is pressed once more.
e2e_press_seen() {
    local wid=$1 k try before="$e2e_scratch/before.rgb"
    shift
    for k in "$@"; do
        e2e_settle "$wid" 15 || e2e_fail "the window did not stand still before $k"
        cp "$e2e_scratch/settled.rgb" "$before"
        for try in 1 2 3; do
            e2e_key "$wid" "$k"
            e2e_wait_still_changes "$wid" "$before" $((try * 2)) && continue 2
        done
        e2e_fail "the game did not take $k"
    done
}

# e2e_wait_still_changes WINDOW STILL_SHOT [SECONDS]: waits until a window
# that stood still shows any change at all (a new key name on a menu line is
# only a few hundred pixels).
e2e_wait_still_changes() {
    local deadline=$((SECONDS + ${3:-5})) now="$e2e_scratch/now.rgb"
    while [ $SECONDS -lt $deadline ]; do
        e2e_shot "$1" "$now"
        e2e_differs "$2" "$now" 30 && return 0
        sleep 0.1
    done
    return 1
}

# e2e_start_title [SETTINGS_TEXT]: starts the game, skips the logo with a
# key and waits for the title menu; the window id goes to e2e_wid.
e2e_wid=""
e2e_start_title() {
    e2e_start "$@"
    e2e_wid=$(e2e_window 15) || e2e_fail "no window"
    e2e_skip_logo "$e2e_wid"
}

# e2e_skip_logo WINDOW: the logo binds its key when it shows; press until
# it has gone (it also leaves by itself after five seconds).
e2e_skip_logo() {
    local deadline=$((SECONDS + 12))
    while ! e2e_log_has "unloading dat/logo.dat"; do
        [ $SECONDS -lt $deadline ] || e2e_fail "the logo did not give way to the title"
        # A letter: should a press land on the title, its menu ignores it.
        e2e_key "$1" x
        sleep 0.4
    done
    # The title builds its menu in the same frame; give it a few frames.
    sleep 0.5
}

# e2e_wait_exit [SECONDS]: waits for the game to end by itself, status 0.
e2e_wait_exit() {
    local deadline=$((SECONDS + ${1:-5})) status
    while kill -0 "$e2e_game_pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || e2e_fail "the game did not end"
        sleep 0.1
    done
    status=0
    wait "$e2e_game_pid" || status=$?
    e2e_game_pid=""
    [ "$status" -eq 0 ] || e2e_fail "the game ended with status $status"
}

# e2e_stop_by_signal: stops the game with SIGTERM, as a desktop's log-out
# does, and waits until it has gone.
e2e_stop_by_signal() {
    local deadline=$((SECONDS + 10))
    kill -TERM "$e2e_game_pid" 2>/dev/null || e2e_fail "the game was not running"
    while kill -0 "$e2e_game_pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || e2e_fail "the game did not stop on SIGTERM"
        sleep 0.1
    done
    wait "$e2e_game_pid" 2>/dev/null || true
    e2e_game_pid=""
}

# e2e_menu_quit WINDOW: from the title's first page, "Quit" is the sixth line.
e2e_menu_quit() {
    e2e_press "$1" Down Down Down Down Down Return
    e2e_wait_exit 5
}

# e2e_menu_quit_seen WINDOW: the same, each key once the game has shown the
# one before (for a busy machine).
e2e_menu_quit_seen() {
    e2e_press_seen "$1" Down Down Down Down Down
    e2e_expect_exit "$1" Return 10
}

# e2e_start_level0 WINDOW: from the title's first page with a new profile,
# "Play!" tells the opening story, keys take it to the map, and Enter there
# starts level 0 (its help page opens with it).
e2e_start_level0() {
    e2e_press "$1" Return
    e2e_wait_log "unloading dat/title.dat" 10
    sleep 2.5
    local deadline=$((SECONDS + 60))
    while ! e2e_log_has "unloading dat/cutscene0.dat"; do
        [ $SECONDS -lt $deadline ] || e2e_fail "the story did not end"
        e2e_key "$1" x
        sleep 0.7
    done
    sleep 1
    e2e_press "$1" Return
    e2e_wait_log "unloading lvl/levels.dat" 10
    sleep 1.5
}
