#!/usr/bin/env bash
# "Play!" on a new profile tells the opening story: the first line comes by
# itself after two seconds (keys before it are ignored, as are keys within
# half a second of a line), sixteen more key releases end it, and the world
# map follows; Esc there goes back to the title.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"

# tap KEY: a short press and release without refocusing, for taps that
# must land soon after the previous one.
tap() {
    xdotool keydown "$1"
    sleep 0.1
    xdotool keyup "$1"
}

e2e_start_title
wid=$e2e_wid
e2e_press "$wid" Return
e2e_wait_log "unloading dat/title.dat"
e2e_focus "$wid"

# The opening caption stands still; a key let go now must not start the
# story early.
sleep 0.5
tap x
sleep 0.6
e2e_shot "$wid" "$e2e_scratch/opening1.rgb"
sleep 0.5
e2e_shot "$wid" "$e2e_scratch/opening2.rgb"
e2e_differs "$e2e_scratch/opening1.rgb" "$e2e_scratch/opening2.rgb" \
    && e2e_fail "the story moved on before its first two seconds were up"
e2e_wait_change "$wid" "$e2e_scratch/opening2.rgb" 6 || e2e_fail "the story did not start by itself"
sleep 1
echo "first line by itself: ok"

# Fifteen lines more; after the fifth a second tap comes too soon and
# must not count.
for step in $(seq 2 16); do
    e2e_key "$wid" x
    if [ "$step" -eq 6 ]; then
        sleep 0.05
        tap x
    fi
    sleep 0.9
done
sleep 0.5
e2e_log_has "unloading dat/cutscene0.dat" && e2e_fail "the story ended before its sixteenth line was read"
e2e_shot "$wid" "$e2e_scratch/last.rgb"
e2e_key "$wid" x
e2e_wait_log "unloading dat/cutscene0.dat" 3
e2e_wait_change "$wid" "$e2e_scratch/last.rgb" 3 || e2e_fail "the screen did not change after the story"
echo "sixteen lines, then on: ok"

# Esc on the map is the way back: the map's picture is let go, the title
# comes back and still answers its menu.
sleep 0.5
e2e_press "$wid" Escape
e2e_wait_log "unloading dat/map.dat" 3
sleep 0.5
e2e_menu_quit "$wid"
echo "map, then the title: ok"

echo "e2e story_map: ok"
