#!/usr/bin/env bash
# The title menus answer the arrow keys and Enter (acting when Enter comes
# up): leaving "Options" through "Back" writes settings.cfg and the volumes,
# the "Resolution" toggle switches the window and is remembered, and "Quit"
# ends the game with status 0 after writing settings.cfg.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"

# Pages of the title menu, counted from the top line.
options_back=(Down Return Down Down Down Down Down Down Return)

# A fresh folder: no settings.cfg, no volume.cfg.
e2e_start_title
wid=$e2e_wid
[ ! -e "$e2e_scratch/game/settings.cfg" ] || e2e_fail "settings.cfg was written before any menu was used"
e2e_press "$wid" "${options_back[@]}"
e2e_wait_content settings.cfg $'enableAltEnter 0\nfullscreen 0\nresx 0\nresy 0\n'
# Without a sound device the sound manager stays silent and keeps no volumes
# file; with one, leaving the options saves the untouched volumes.
if e2e_log_has "Can't initialize digital sound system"; then
    sleep 0.5
    [ ! -e "$e2e_scratch/game/volume.cfg" ] || e2e_fail "a silent sound manager wrote volume.cfg"
    e2e_log_has "savedVolume" && e2e_fail "a silent sound manager logged savedVolume"
else
    e2e_wait_log "savedVolume"
    e2e_expect_content volume.cfg $'255 255\n'
fi

# "Back" led to the first page again: "Quit" is its sixth line. Quitting
# writes settings.cfg anew, so take the first copy away.
rm -f "$e2e_scratch/game/settings.cfg"
e2e_menu_quit "$wid"
e2e_expect_content settings.cfg $'enableAltEnter 0\nfullscreen 0\nresx 0\nresy 0\n'
echo "options and quit on a fresh folder: ok"

# "Resolution" (fourth line of "Options") flips to Low: the window becomes
# 640 x 480 at once and the title comes back on its first page; the new
# size is written when the options are left.
e2e_start_title
wid=$e2e_wid
[ "$(e2e_size "$wid")" = 800x600 ] || e2e_fail "the first window is $(e2e_size "$wid")"
e2e_press "$wid" Down Return Down Down Down Return
deadline=$((SECONDS + 5))
until [ "$(e2e_size "$wid")" = 640x480 ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "after \"Resolution\" the window is $(e2e_size "$wid"), not 640x480"
    sleep 0.1
done
# The title is built again at the new size.
e2e_wait_log "unloading dat/title.dat"
sleep 0.5
e2e_press "$wid" "${options_back[@]}"
e2e_wait_content settings.cfg $'enableAltEnter 0\nfullscreen 0\nresx 640\nresy 480\n'
e2e_menu_quit "$wid"
e2e_expect_content settings.cfg $'enableAltEnter 0\nfullscreen 0\nresx 640\nresy 480\n'
echo "resolution toggle: ok"

# With a sound device (one that plays into nothing) the volumes are kept:
# untouched they are saved as 255 255; the "Music" slider, the first line
# of "Options", goes down while Left is held; the next run reads the file
# and leaving the options again saves the same volumes.
e2e_null_sound
e2e_start_title
wid=$e2e_wid
if e2e_log_has "Can't initialize digital sound system"; then
    echo "no null sound device here: volumes not checked"
else
    e2e_press "$wid" "${options_back[@]}"
    e2e_wait_log "savedVolume"
    e2e_expect_content volume.cfg $'255 255\n'
    e2e_press "$wid" Down Return
    xdotool keydown Left
    sleep 0.5
    xdotool keyup Left
    sleep 0.2
    e2e_press "$wid" Down Down Down Down Down Down Return
    e2e_wait_log_count "savedVolume" 2
    volumes=$(cat "$e2e_scratch/game/volume.cfg")
    [[ "$volumes" =~ ^255\ ([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -lt 255 ] \
        || e2e_fail "after lowering the music volume.cfg reads \"$volumes\""
    cp "$e2e_scratch/game/volume.cfg" "$e2e_scratch/volume.saved"
    e2e_menu_quit "$wid"
    e2e_restart
    wid=$e2e_wid
    e2e_wait_log "loadedVolume"
    e2e_press "$wid" "${options_back[@]}"
    e2e_wait_log "savedVolume"
    cmp -s "$e2e_scratch/volume.saved" "$e2e_scratch/game/volume.cfg" \
        || e2e_fail "volume.cfg changed from \"$volumes\" to \"$(cat "$e2e_scratch/game/volume.cfg")\" without a slider moved"
    echo "volumes ${volumes}: ok"
fi
e2e_menu_quit "$wid"

echo "e2e options_quit: ok"
