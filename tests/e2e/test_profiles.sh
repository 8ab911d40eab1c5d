#!/usr/bin/env bash
# Profiles through the title menus: one is created by typing its name, both
# can be chosen, and deleting asks first (N keeps the profile, Y removes its
# files and its line in profiles.cfg); the last profile cannot be deleted.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"

game=$e2e_scratch/game
default_keys=$'down 1 85 \nfire 1 75 \nleft 1 82 \nright 1 83 \nup 1 84 \n'

# hold WINDOW KEY SECONDS: keeps a key down while the game sits in its
# blocking Y/N prompt, which looks at the keys that are down.
hold() {
    e2e_focus "$1"
    xdotool keydown "$2"
    sleep "$3"
    xdotool keyup "$2"
    sleep 0.3
}

e2e_start_title
wid=$e2e_wid
# A fresh folder starts with the one profile "dorir", whose keys the title's
# fish writes from the defaults.
e2e_expect_content profiles.cfg $'dorir\ndorir\n'
e2e_wait_content profiles/dorir.cfg "$default_keys"
[ -f "$game/profiles/dorir.dat" ] || e2e_fail "no progress file for dorir"

# "Profiles", "Create New", then the "Name:" field: Enter starts and ends
# the typing. "Create" is the line below it.
e2e_press "$wid" Down Down Return Down Return Return
e2e_type_upper "$wid" n
e2e_press "$wid" e m o Return Down Return
e2e_wait_content profiles.cfg $'dorir\nNemo\nNemo\n'
e2e_wait_content profiles/Nemo.cfg "$default_keys"
e2e_wait_file profiles/Nemo.dat
magic=$(head -c 4 "$game/profiles/Nemo.dat")
[ "$magic" = "slh!" ] || e2e_fail "profiles/Nemo.dat starts with \"$magic\", not a packfile's slh!"
# Both profiles hold nothing but the fresh defaults, so their files agree.
cmp -s "$game/profiles/Nemo.dat" "$game/profiles/dorir.dat" \
    || e2e_fail "the new profile's progress differs from a fresh one's"
e2e_wait_log "unloading dat/title.dat"
sleep 0.5
echo "create Nemo: ok"

# The profile page lists the names first: "dorir", then "Nemo".
e2e_press "$wid" Down Down Return Return
e2e_wait_content profiles.cfg $'dorir\nNemo\ndorir\n'
e2e_wait_log_count "unloading dat/title.dat" 2
sleep 0.5
e2e_press "$wid" Down Down Return Down Return
e2e_wait_content profiles.cfg $'dorir\nNemo\nNemo\n'
e2e_wait_log_count "unloading dat/title.dat" 3
sleep 0.5
echo "choose dorir, then Nemo: ok"

# "Delete..." is the fourth line of the profile page; its page lists
# "Delete: dorir", "Delete: Nemo", "Back". N keeps everything.
e2e_press "$wid" Down Down Return Down Down Down Return Down Return
hold "$wid" n 1
[ -f "$game/profiles/Nemo.dat" ] && [ -f "$game/profiles/Nemo.cfg" ] || e2e_fail "N deleted Nemo's files"
e2e_expect_content profiles.cfg $'dorir\nNemo\nNemo\n'
echo "delete Nemo, answer N: ok"

# The same line again, Y this time: Nemo's files go, dorir becomes current.
e2e_press "$wid" Return
xdotool keydown y
deadline=$((SECONDS + 5))
while [ -e "$game/profiles/Nemo.dat" ] && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
xdotool keyup y
e2e_wait_gone profiles/Nemo.dat
e2e_wait_gone profiles/Nemo.cfg
e2e_wait_content profiles.cfg $'dorir\ndorir\n'
[ -f "$game/profiles/dorir.dat" ] && [ -f "$game/profiles/dorir.cfg" ] || e2e_fail "deleting Nemo took dorir's files too"
e2e_wait_log_count "unloading dat/title.dat" 4
sleep 0.5
echo "delete Nemo, answer Y: ok"

# With one profile left the prompt only says it cannot be deleted; Esc
# closes it and the menus go on working: "Back" twice, then "Quit".
e2e_press "$wid" Down Down Return Down Down Return Return
hold "$wid" Escape 0.5
e2e_expect_content profiles.cfg $'dorir\ndorir\n'
[ -f "$game/profiles/dorir.dat" ] && [ -f "$game/profiles/dorir.cfg" ] || e2e_fail "the only profile lost its files"
e2e_press "$wid" Down Return Down Down Down Return
e2e_menu_quit "$wid"
e2e_expect_content profiles.cfg $'dorir\ndorir\n'
echo "the last profile stays: ok"

echo "e2e profiles: ok"
