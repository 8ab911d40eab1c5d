#!/usr/bin/env bash
# "Credits" rolls the lines of credits.txt up a black screen; a key held
# down keeps them rolling and letting it go shows the title again, on its
# first page. With an empty credits.txt the screen stays black and the key
# still leads back.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"

# run_credits LABEL: from the title to the credits and back.
run_credits() {
    local label=$1 wid lit
    wid=$e2e_wid
    e2e_shot "$wid" "$e2e_scratch/title.rgb"
    # "Credits" is the fifth line of the first page.
    e2e_press "$wid" Down Down Down Down Return
    e2e_wait_log "unloading dat/title.dat"
    sleep 2
    e2e_shot "$wid" "$e2e_scratch/roll1.rgb"
    sleep 1
    e2e_shot "$wid" "$e2e_scratch/roll2.rgb"
    lit=$(tr -d '\000' <"$e2e_scratch/roll2.rgb" | wc -c)
    if [ "$label" = empty ]; then
        [ "$lit" -eq 0 ] || e2e_fail "$label: the credits screen without lines is not black"
        e2e_differs "$e2e_scratch/roll1.rgb" "$e2e_scratch/roll2.rgb" 0 && e2e_fail "$label: something moves on a screen without lines"
    else
        [ "$lit" -gt 0 ] || e2e_fail "$label: no credits line is on the screen"
        e2e_differs "$e2e_scratch/roll1.rgb" "$e2e_scratch/roll2.rgb" \
            || e2e_fail "$label: the credits did not move in a second"
    fi
    e2e_focus "$wid"
    xdotool keydown x
    sleep 1
    e2e_shot "$wid" "$e2e_scratch/held.rgb"
    e2e_differs "$e2e_scratch/title.rgb" "$e2e_scratch/held.rgb" || { xdotool keyup x; e2e_fail "$label: the credits left while the key was still down"; }
    xdotool keyup x
    deadline=$((SECONDS + 5))
    while :; do
        sleep 0.3
        e2e_shot "$wid" "$e2e_scratch/back.rgb"
        e2e_differs "$e2e_scratch/title.rgb" "$e2e_scratch/back.rgb" || break
        [ $SECONDS -lt $deadline ] || e2e_fail "$label: letting the key go did not bring back the title as it was"
    done
    e2e_menu_quit "$wid"
    echo "$label: ok"
}

e2e_start_title
run_credits "credits.txt as shipped"

e2e_start_title
: >"$e2e_scratch/game/credits.txt"
run_credits empty

echo "e2e credits: ok"
