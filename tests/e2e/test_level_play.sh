#!/usr/bin/env bash
# Level play from the world map: Enter starts level 0 with its help page,
# a key closes it, Esc opens the level's menu (its options switch the water
# ripple off and "Continue" resumes), the arrows move the fish, F1 shows the
# help again, Tab opens the power-up shop and Esc closes it, and "Exit"
# goes back to the map.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"

shot() { e2e_shot "$wid" "$e2e_scratch/$1.rgb"; }
width_between() { e2e_change_width "$e2e_scratch/$1.rgb" "$e2e_scratch/$2.rgb"; }
# A panel over the level or a scrolled level changes most of the screen's
# width; the fish at rest changes no more than its own.
expect_wide() {
    local w
    w=$(width_between "$1" "$2")
    [ "$w" -ge 200 ] || e2e_fail "$3 (changed width $w)"
    echo "  $1 -> $2: $w pixels wide"
}
expect_narrow() {
    local w
    w=$(width_between "$1" "$2")
    [ "$w" -lt 200 ] || e2e_fail "$3 (changed width $w)"
    echo "  $1 -> $2: $w pixels wide"
}

e2e_start_title
wid=$e2e_wid
# "Play!" on a new profile tells the story first; keys take it to the map,
# and Enter there starts the first level; its help page opens with it.
e2e_start_level0 "$wid"
shot help
e2e_press "$wid" x
sleep 1
shot play
expect_wide help play "the help page did not close on a key"
echo "level 0 entered, its help closed: ok"

# The level's menu: "Options", "Water Effect" off, "Back", "Continue".
e2e_press "$wid" Escape
sleep 0.8
shot menu
expect_wide play menu "Esc did not open the level's menu"
e2e_press "$wid" Down Down Return
sleep 0.3
e2e_press "$wid" Down Down Return
sleep 0.3
e2e_press "$wid" Down Return
sleep 0.3
e2e_press "$wid" Return
sleep 1
shot resumed
expect_wide menu resumed "\"Continue\" did not close the menu"
echo "menu, options, continue: ok"

# With the ripple off, a fish at rest changes only the spot it bobs on;
# swimming right for a second and a half carries it (and the view) far.
sleep 0.5
shot rest1
sleep 0.6
shot rest2
expect_narrow rest1 rest2 "the level changes widely with no key down"
e2e_focus "$wid"
xdotool keydown Right
sleep 1.5
xdotool keyup Right
sleep 0.3
shot swum
expect_wide rest2 swum "the fish did not swim with the arrow key"
echo "the arrows move the fish: ok"

# F1 shows the help again; a key closes it.
shot before_help
e2e_press "$wid" F1
sleep 0.8
shot help2
expect_wide before_help help2 "F1 did not show the help"
e2e_press "$wid" x
sleep 0.8
shot after_help
expect_narrow before_help after_help "the help did not close on a key"
echo "F1 help: ok"

# Tab opens the shop over the level, Esc closes it again.
e2e_press "$wid" Tab
sleep 0.8
shot shop
expect_wide after_help shop "Tab did not open the power-up shop"
e2e_press "$wid" Escape
sleep 0.8
shot after_shop
expect_narrow after_help after_shop "Esc did not close the power-up shop"
echo "Tab shop, Esc: ok"

# "Exit", the menu's last line, leaves the level for the map, and Esc there
# goes back to the title.
e2e_press "$wid" Escape
sleep 0.5
e2e_press "$wid" Down Down Down Down Down Return
e2e_wait_log "unloading dat/tiles0.dat" 5
sleep 0.8
e2e_press "$wid" Escape
e2e_wait_log "unloading dat/map.dat" 3
sleep 0.5
e2e_menu_quit "$wid"
echo "exit to the map, then the title: ok"

echo "e2e level_play: ok"
