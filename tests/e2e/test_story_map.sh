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
e2e_settle "$wid" 15 || e2e_fail "the title did not stand still"
# The story cannot begin before this moment, and the game's clock never
# runs ahead of the wall clock: whatever moves before two more seconds have
# passed moved early, however busy the machine.
started=$(e2e_now)
e2e_press "$wid" Return
e2e_wait_log "unloading dat/title.dat" 10
e2e_focus "$wid"

# The opening caption fades in and then stands still; a key let go now must
# not start the story early.
e2e_settle "$wid" 15 || e2e_fail "the opening caption did not stand still"
cp "$e2e_scratch/settled.rgb" "$e2e_scratch/opening.rgb"
tap x
deadline=$((SECONDS + 20))
while :; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the story did not start by itself"
    e2e_shot "$wid" "$e2e_scratch/now.rgb"
    if e2e_differs "$e2e_scratch/opening.rgb" "$e2e_scratch/now.rgb"; then
        e2e_before "$(e2e_now)" "$(awk -v t="$started" 'BEGIN { printf "%.3f", t + 2 }')" \
            && e2e_fail "the story moved on before its first two seconds were up"
        break
    fi
    sleep 0.1
done
echo "first line by itself: ok"

# Fifteen lines more, each key once the line before has been drawn and
# stands still; right after the sixth a second tap comes too soon and must
# not count. A key the story ignored (it was early) is pressed again.
for step in $(seq 2 16); do
    e2e_settle "$wid" 15 || e2e_fail "line $((step - 1)) did not stand still"
    cp "$e2e_scratch/settled.rgb" "$e2e_scratch/line.rgb"
    taken=0
    for try in 1 2 3 4; do
        e2e_key "$wid" x
        if [ "$step" -eq 6 ] && [ "$try" -eq 1 ]; then
            sleep 0.05
            tap x
        fi
        if e2e_wait_still_changes "$wid" "$e2e_scratch/line.rgb" 2; then
            taken=1
            break
        fi
    done
    [ "$taken" -eq 1 ] || e2e_fail "line $step did not come"
    e2e_log_has "unloading dat/cutscene0.dat" && e2e_fail "the story ended at line $step, before its sixteenth"
done
e2e_settle "$wid" 15 || e2e_fail "line 16 did not stand still"
e2e_log_has "unloading dat/cutscene0.dat" && e2e_fail "the story ended before its sixteenth line was read"
cp "$e2e_scratch/settled.rgb" "$e2e_scratch/last.rgb"
for try in 1 2 3 4; do
    e2e_key "$wid" x
    e2e_wait_still_changes "$wid" "$e2e_scratch/last.rgb" 2 && break
done
e2e_wait_log "unloading dat/cutscene0.dat" 10
echo "sixteen lines, then on: ok"

# Esc on the map is the way back: the map's picture is let go, the title
# comes back and still answers its menu.
# The map may still be coming in: Esc again until it has been let go.
deadline=$((SECONDS + 20))
while ! e2e_log_has "unloading dat/map.dat"; do
    [ $SECONDS -lt $deadline ] || e2e_fail "Esc did not leave the map"
    e2e_key "$wid" Escape
    for wait in $(seq 1 30); do
        e2e_log_has "unloading dat/map.dat" && break
        sleep 0.1
    done
done
e2e_settle "$wid" 15 || e2e_fail "the title did not come back"
e2e_menu_quit_seen "$wid"
echo "map, then the title: ok"

echo "e2e story_map: ok"
