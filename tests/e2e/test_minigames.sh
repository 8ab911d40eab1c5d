#!/usr/bin/env bash
# The mini-games from the title: a profile that has beaten forty story
# levels (written before the game starts, in the game's own files) finds
# "MiniGames" -> "Shell Game" open; the shell game's arena is built, and the
# level menu's "Exit" leads back to the title, whose menu still answers.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"

maker=${E2E_PROFILE_MAKER:-$e2e_run_dir/../tests/e2e_profile}
[ -x "$maker" ] || e2e_fail "no profile maker at $maker (build the e2e_profile target)"

game="$e2e_scratch/game"
rm -rf "$game"
cp -r "$e2e_run_dir" "$game"
rm -rf "$game/debug.log" "$game/settings.cfg" "$game/profiles.cfg" "$game/profiles"
"$maker" "$game" dorir 40 || e2e_fail "the profile maker failed"
e2e_restart
wid=$e2e_wid

# "MiniGames" is the fourth line of the title's first page, "Shell Game"
# the first of its own.
e2e_press "$wid" Down Down Down Return
sleep 0.3
e2e_press "$wid" Return
e2e_wait_log "unloading dat/title.dat" 5
e2e_wait_log "unloading lvl/levels.dat" 5
e2e_log_has "unloading dat/shellgame.dat" && e2e_fail "the shell game let go of its shells at once"
sleep 1
echo "MiniGames -> Shell Game starts the shell game: ok"

# Esc, then "Exit", the sixth line of the level's menu.
e2e_press "$wid" Escape
sleep 0.5
e2e_press "$wid" Down Down Down Down Down Return
e2e_wait_log "unloading dat/shellgame.dat" 5
sleep 1
e2e_menu_quit "$wid"
echo "Esc -> Exit goes back to the title: ok"

# The profile is still the one the test wrote: nothing was won or lost.
mkdir -p "$e2e_scratch/expected"
"$maker" "$e2e_scratch/expected" dorir 40 || e2e_fail "the profile maker failed"
cmp -s "$e2e_scratch/expected/profiles/dorir.dat" "$game/profiles/dorir.dat" \
    || e2e_fail "leaving the shell game changed the profile's progress"

echo "e2e minigames: ok"
