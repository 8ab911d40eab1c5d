#!/usr/bin/env bash
# Frame cap benchmark: the real game at its title for five seconds, once as
# fast as it goes and once with --fps 60, and the processor time each used
# (user + system, from /proc). Needs an X display; a virtual one will do:
#
#     Xvfb :55 & DISPLAY=:55 bench/frame_cap.sh build/run [SECONDS]
set -euo pipefail
run_dir=$(cd "${1:?usage: $0 RUN_DIR [SECONDS]}" && pwd)
seconds=${2:-5}
[ -n "${DISPLAY:-}" ] || { echo "DISPLAY is not set" >&2; exit 2; }
ticks=$(getconf CLK_TCK)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# cpu_seconds OPTIONS...: starts the game, lets it run, prints its CPU time.
cpu_seconds() {
    rm -rf "$scratch/game"
    cp -r "$run_dir" "$scratch/game"
    (cd "$scratch/game" && exec ./tidewander "$@" >/dev/null 2>&1) &
    local pid=$!
    # Timed from the moment the title is up, so start-up is left out.
    local deadline=$((SECONDS + 30))
    until grep -q "unloading dat/logo.dat" "$scratch/game/debug.log" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || { kill -9 "$pid"; echo "the title never came" >&2; exit 1; }
        sleep 0.1
    done
    local before after
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep "$seconds"
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    kill -TERM "$pid"
    wait "$pid" || true
    awk -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" \
        'BEGIN { printf "%.2f s of CPU in %d s (%.1f %% of a core)", t / hz, s, 100 * t / hz / s }'
}

# The logo goes by itself after five seconds; both runs wait for it.
echo "uncapped:  $(cpu_seconds)"
echo "--fps 60:  $(cpu_seconds --fps 60)"
