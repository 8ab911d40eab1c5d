#!/usr/bin/env bash
# The game opens its window at the size settings.cfg asks for (only 640 or
# 800 wide, else 800 x 600), logs its start, and closes cleanly through the
# title's "Quit".
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"

# check_window LABEL WIDTH HEIGHT [SETTINGS_TEXT]
check_window() {
    local label=$1 width=$2 height=$3 wid first size
    shift 3
    e2e_start "$@"
    wid=$(e2e_window 15) || exit 1
    e2e_wait_log "Initialized ($width,$height) - 16 bit color"
    first=$(head -n 1 "$e2e_scratch/game/debug.log")
    [ "$first" = "KVEngine_19" ] || e2e_fail "$label: debug.log starts with \"$first\", not KVEngine_19"
    size=$(e2e_size "$wid")
    [ "$size" = "${width}x${height}" ] || e2e_fail "$label: window is $size, not ${width}x${height}"
    e2e_skip_logo "$wid"
    e2e_menu_quit "$wid"
    echo "$label: ${size} ok"
}

check_window "no settings.cfg" 800 600
# Quitting writes settings.cfg back: after a first run, the four keys at 0.
written=$(cat "$e2e_scratch/game/settings.cfg" 2>/dev/null)
expected=$'enableAltEnter 0\nfullscreen 0\nresx 0\nresy 0'
[ "$written" = "$expected" ] || e2e_fail "settings.cfg after a first run reads: $written"
check_window "resx 640 resy 480" 640 480 "resx 640 resy 480"
check_window "resx 1024" 800 600 "resx 1024"

echo "e2e window: ok"
