#!/usr/bin/env bash
# Sound that really comes out: the game plays into an ALSA device that
# writes everything it is given to a file, and sox measures what is there.
# The title music must be clearly audible, and in level 0, with the music
# turned right down, a bubble blown with Space must add its sound.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"
command -v sox >/dev/null || e2e_fail "sox is not installed"

# The file device takes what the plug in front of it converts to: 44100 Hz,
# 16-bit signed little-endian stereo, so the raw file reads back as such.
RATE=44100
FRAME_BYTES=4
BYTES_PER_SECOND=$((RATE * FRAME_BYTES))

# The title music is mixed at a tenth of full scale or so. Digital silence
# measures exactly 0, and even a faint hiss stays far below 0.01 (-40 dBFS);
# music that passes it is there to be heard.
MUSIC_MIN_RMS=0.01
# A bubble lasts about a seventh of a second at a fifth of full scale, so
# even spread over the two seconds after Space it measures 0.02 or so, and
# several times what the level at rest makes by itself (nothing, with the
# music off).
BUBBLE_MIN_RMS=0.005
BUBBLE_GAIN=3

# sound_home FILE: games started from now on play into FILE.
sound_home() {
    e2e_home="$e2e_scratch/home"
    mkdir -p "$e2e_home"
    cat >"$e2e_home/.asoundrc" <<EOF
pcm.!default {
    type plug
    slave {
        pcm "tidewander_file"
        rate $RATE
        format S16_LE
        channels 2
    }
}
pcm.tidewander_file {
    type file
    slave.pcm "null"
    file "$1"
    format "raw"
}
EOF
}

# size FILE: its length in bytes, 0 while it does not exist.
size() {
    stat -c %s "$1" 2>/dev/null || echo 0
}

# wait_grown FILE BYTES [SECONDS]: waits until the file holds at least that
# many bytes. The null device takes sound as fast as the game mixes it, so
# the file's growth, not the clock, says how much has been played.
wait_grown() {
    local deadline=$((SECONDS + ${3:-30}))
    while [ "$(size "$1")" -lt "$2" ]; do
        [ $SECONDS -lt $deadline ] || e2e_fail "$1 stopped at $(size "$1") bytes, short of $2"
        kill -0 "$e2e_game_pid" 2>/dev/null || e2e_fail "the game ended while playing"
        sleep 0.1
    done
}

# rms FILE FROM_BYTE BYTES: the RMS amplitude (full scale 1) of that stretch.
rms() {
    local value
    value=$(sox -t raw -r $RATE -e signed -b 16 -c 2 "$1" -n \
        trim "$(($2 / FRAME_BYTES))s" "$(($3 / FRAME_BYTES))s" stat 2>&1 |
        awk '/^RMS +amplitude:/ { print $3 }')
    [ -n "$value" ] || e2e_fail "sox could not measure $1"
    echo "$value"
}

# at_least A B: true when the number A is B or more.
at_least() {
    awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'
}

# frame_aligned BYTES: rounded down to a whole stereo frame.
frame_aligned() {
    echo $(($1 / FRAME_BYTES * FRAME_BYTES))
}

# start_with_volumes TEXT: a fresh copy of the run folder whose volume.cfg
# holds the text (the effects' volume first, then the music's), the game
# started in it and past its logo.
start_with_volumes() {
    rm -rf "$e2e_scratch/game"
    cp -r "$e2e_run_dir" "$e2e_scratch/game"
    rm -f "$e2e_scratch/game/settings.cfg"
    printf '%s\n' "$1" >"$e2e_scratch/game/volume.cfg"
    e2e_restart
    wid=$e2e_wid
    e2e_log_has "Can't initialize digital sound system" && e2e_fail "the game found no sound device"
    e2e_wait_log "loadedVolume" 5
}

# --- The title music, both volumes full.
title_raw="$e2e_scratch/title.raw"
sound_home "$title_raw"
start_with_volumes "255 255"
# The title has started its music: four seconds of what follows.
from=$(frame_aligned "$(size "$title_raw")")
span=$((4 * BYTES_PER_SECOND))
wait_grown "$title_raw" $((from + span))
music=$(rms "$title_raw" "$from" "$span")
echo "  title music: RMS $music (at least $MUSIC_MIN_RMS)"
at_least "$music" "$MUSIC_MIN_RMS" || e2e_fail "the title music is not heard (RMS $music)"
# With a device that takes sound, "Quit" still ends the game with status 0.
e2e_menu_quit_seen "$wid"
echo "the title music is heard: ok"

# --- A bubble in level 0, the effects full and the music off.
level_raw="$e2e_scratch/level.raw"
sound_home "$level_raw"
start_with_volumes "255 0"

# "Play!" on a new profile tells the story first; keys take it to the map,
# and Enter there starts level 0 with its help page, which a key closes.
e2e_start_level0 "$wid"
e2e_press "$wid" x
e2e_settle "$wid" 15 || true

# Two seconds of the level at rest, then Space, then two seconds of what
# follows: long enough that a game slowed by a busy machine has taken the key
# and mixed the bubble within them. A press the game missed is made again.
span=$((2 * BYTES_PER_SECOND))
heard=0
for try in 1 2 3; do
    quiet_from=$(frame_aligned "$(size "$level_raw")")
    wait_grown "$level_raw" $((quiet_from + span))
    e2e_focus "$wid"
    xdotool keydown space
    pressed=$(frame_aligned "$(size "$level_raw")")
    sleep 0.15
    xdotool keyup space
    # The press may land while the stretch before it is still being mixed;
    # the stretch after it starts no earlier than that one ends.
    [ "$pressed" -ge $((quiet_from + span)) ] || pressed=$((quiet_from + span))
    wait_grown "$level_raw" $((pressed + span))
    quiet=$(rms "$level_raw" "$quiet_from" "$span")
    bubble=$(rms "$level_raw" "$pressed" "$span")
    echo "  level 0, press $try: RMS $quiet at rest, $bubble after Space"
    at_least "$bubble" "$BUBBLE_MIN_RMS" && { heard=1; break; }
done
[ $heard = 1 ] || e2e_fail "no bubble is heard after Space (RMS $bubble)"
at_least "$bubble" "$(awk -v q="$quiet" -v g="$BUBBLE_GAIN" 'BEGIN { print q * g }')" ||
    e2e_fail "the bubble adds too little to the level's sound (RMS $quiet, then $bubble)"
echo "a bubble blown in level 0 is heard: ok"

e2e_stop_by_signal
echo "e2e heard_sound: ok"
