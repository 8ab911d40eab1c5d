#!/usr/bin/env bash
# The command line: --help and --version answer and exit, a bad option
# prints the usage and exits 2, a missing data folder is named; SIGTERM and
# SIGINT end a running game as "Quit" does, with status 0 and its settings
# and progress written; F12 saves a screenshot in every screen.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"
game="$e2e_run_dir/tidewander"

out=$("$game" --help) || e2e_fail "--help ended with status $?"
grep -q '^Usage: tidewander \[options\]' <<<"$out" || e2e_fail "--help printed: $out"
out=$("$game" --version) || e2e_fail "--version ended with status $?"
[[ "$out" =~ ^Tidewander\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || e2e_fail "--version printed: $out"
status=0
err=$("$game" --fly 2>&1 >/dev/null) || status=$?
[ "$status" -eq 2 ] || e2e_fail "an unknown option ended with status $status, not 2"
grep -q 'Unknown option \[--fly\]' <<<"$err" && grep -q '^Usage:' <<<"$err" || e2e_fail "an unknown option printed: $err"
status=0
err=$("$game" --data "$e2e_scratch/nothing" 2>&1) || status=$?
[ "$status" -eq 1 ] || e2e_fail "a data folder without data ended with status $status, not 1"
grep -q "No game data (dat/) in $e2e_scratch/nothing" <<<"$err" || e2e_fail "a bad --data printed: $err"
echo "help, version and bad options: ok"

# stop_with SIGNAL: a game at the title, asked to stop by the signal.
stop_with() {
    e2e_start_title
    rm -f "$e2e_scratch/game/settings.cfg" "$e2e_scratch/game/profiles/"*.dat
    kill -"$1" "$e2e_game_pid"
    local status=0
    timeout 20 tail --pid="$e2e_game_pid" -f /dev/null
    wait "$e2e_game_pid" || status=$?
    e2e_game_pid=""
    [ "$status" -eq 0 ] || e2e_fail "SIG$1 ended the game with status $status"
    e2e_log_has "Asked to stop; quitting" || e2e_fail "the game did not log the stop"
    e2e_expect_content settings.cfg $'enableAltEnter 0\nfullscreen 0\nresx 0\nresy 0\n'
    ls "$e2e_scratch/game/profiles/"*.dat >/dev/null 2>&1 || e2e_fail "SIG$1 saved no progress"
}
stop_with TERM
echo "SIGTERM: ok"
stop_with INT
echo "SIGINT: ok"

# F12 on the title and again in the options page: two screenshots. A key
# pressed while a screen fades in is not seen, so press until it answers.
shots_logged() {
    grep -c "^Screenshot saved as \[screenshots/tidewander-" "$e2e_scratch/game/debug.log" 2>/dev/null
}
shoot_until() {
    local deadline=$((SECONDS + 10))
    until [ "$(shots_logged)" -ge "$1" ]; do
        [ $SECONDS -lt $deadline ] || e2e_fail "debug.log names $(shots_logged) screenshots, not $1"
        e2e_key "$wid" F12
        sleep 0.5
    done
}
e2e_start_title
wid=$e2e_wid
shoot_until 1
e2e_press "$wid" Down Return
shoot_until 2
for shot in "$e2e_scratch/game/screenshots/"*.png; do
    size=$(identify -format '%wx%h' "$shot") || e2e_fail "$shot is no picture"
    [ "$size" = 800x600 ] || e2e_fail "$shot is $size"
    colours=$(identify -format '%k' "$shot")
    [ "$colours" -gt 16 ] || e2e_fail "$shot has only $colours colours"
done
kill -TERM "$e2e_game_pid"
e2e_wait_exit 20
echo "screenshots: ok"

# --map: a broken map is refused with the builder's reasons; a good one is
# played at once as level 2 and ends the game when it is finished, leaving
# the story's progress alone.
printf '; a chest walled off\n#####\n#P#T#\n#####\n' >"$e2e_scratch/walled.txt"
status=0
err=$("$game" --map "$e2e_scratch/walled.txt" 2>&1) || status=$?
[ "$status" -eq 1 ] || e2e_fail "a broken map ended with status $status, not 1"
grep -qF "level 0 ($e2e_scratch/walled.txt), cell (3, 1): treasure chest 'T' cannot be reached" <<<"$err" \
    || e2e_fail "a broken map printed: $err"
printf '; a short swim\n#######\n#P...T#\n#######\n' >"$e2e_scratch/mine.txt"
rm -rf "$e2e_scratch/game"
cp -r "$e2e_run_dir" "$e2e_scratch/game"
rm -rf "$e2e_scratch/game/debug.log" "$e2e_scratch/game/profiles"
(cd "$e2e_scratch/game" && exec ./tidewander --map ../mine.txt --as 2 >game.out 2>&1) &
e2e_game_pid=$!
wid=$(e2e_window 15) || e2e_fail "no window"
e2e_wait_log "Entered level [2]" 10
# A new player's default progress is written at start; the map must leave
# it as it is.
cp -r "$e2e_scratch/game/profiles" "$e2e_scratch/profiles-before"
# Swim right to the chest; all of it in hand, the award screen waits for
# a key, and then the game ends.
e2e_focus "$wid"
xdotool keydown Right
e2e_wait_log "Finished level [2] rated 100%" 20
xdotool keyup Right
e2e_expect_exit "$wid" Return 20
e2e_log_has "Finished the level; quitting" || e2e_fail "the game did not say the map was finished"
diff -r "$e2e_scratch/profiles-before" "$e2e_scratch/game/profiles" >/dev/null \
    || e2e_fail "playing a map of one's own changed the story's progress"
echo "own map: ok"

# --replay: a recording of the replay tests plays back in the window, and
# the run ends when its level is finished.
recordings=$(cd "$(dirname "$0")/../replay/recordings" && pwd)
rm -rf "$e2e_scratch/game"
cp -r "$e2e_run_dir" "$e2e_scratch/game"
rm -f "$e2e_scratch/game/debug.log"
(cd "$e2e_scratch/game" && exec ./tidewander --replay "$recordings/level00.txt" >game.out 2>&1) &
e2e_game_pid=$!
e2e_wait_log "Playing back a recording of level [0]" 15
e2e_wait_log "The recording finished level [0]" 120
e2e_wait_exit 20
e2e_log_has "Finished the level; quitting" || e2e_fail "the replay did not end with its level"
status=0
err=$("$game" --replay "$e2e_scratch/walled.txt" 2>&1) || status=$?
[ "$status" -eq 1 ] || e2e_fail "a file that is no recording ended with status $status, not 1"
grep -q "walled.txt: line 1: expected a time in seconds or a setting" <<<"$err" || e2e_fail "a bad recording printed: $err"
echo "replay: ok"
