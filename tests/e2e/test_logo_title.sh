#!/usr/bin/env bash
# The logo stands still on the screen for five seconds and then gives way to
# the title; a key held down keeps it up, and letting the key go leaves at
# once, without the same key pressing anything on the title.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"

now_ms() { date +%s%3N; }

# wait_logo_shown WINDOW FILE: waits until the window shows more than black
# (the logo fades in) and keeps that shot.
wait_logo_shown() {
    local deadline=$((SECONDS + 10)) lit
    while [ $SECONDS -lt $deadline ]; do
        e2e_shot "$1" "$2"
        lit=$(tr -d '\000' <"$2" | wc -c)
        [ "$lit" -gt 20000 ] && return 0
        sleep 0.2
    done
    e2e_fail "the logo never showed"
}

# Left alone, the logo goes after five seconds. The window opens before the
# logo starts, so less than 4.5 s from the window on is too early.
e2e_start
wid=$(e2e_window 15) || exit 1
opened=$(now_ms)
wait_logo_shown "$wid" "$e2e_scratch/first.rgb"
sleep 1
e2e_shot "$wid" "$e2e_scratch/logo.rgb"
sleep 1.5
e2e_log_has "unloading dat/logo.dat" || {
    e2e_shot "$wid" "$e2e_scratch/later.rgb"
    e2e_differs "$e2e_scratch/logo.rgb" "$e2e_scratch/later.rgb" && e2e_fail "the logo screen changed while it stood"
}
e2e_wait_log "unloading dat/logo.dat" 15
elapsed=$(($(now_ms) - opened))
[ "$elapsed" -ge 4500 ] || e2e_fail "the logo left after ${elapsed} ms, before its five seconds"
e2e_wait_log "Could not find keyconfig. Creating from default data."
e2e_wait_change "$wid" "$e2e_scratch/logo.rgb" 5 || e2e_fail "the title does not look different from the logo"
sleep 0.5
e2e_menu_quit "$wid"
echo "logo leaves by itself after ${elapsed} ms: ok"

# Return held down keeps the logo; letting it go shows the title at once.
# The title's menu would start the story on an Enter that comes up, so the
# same release must not reach it.
e2e_start
wid=$(e2e_window 15) || exit 1
opened=$(now_ms)
wait_logo_shown "$wid" "$e2e_scratch/first.rgb"
e2e_focus "$wid"
xdotool keydown Return
sleep 1.5
e2e_log_has "unloading dat/logo.dat" && { xdotool keyup Return; e2e_fail "the logo left while the key was still down"; }
xdotool keyup Return
e2e_wait_log "unloading dat/logo.dat" 3
elapsed=$(($(now_ms) - opened))
[ "$elapsed" -lt 4500 ] || e2e_fail "the logo left only after ${elapsed} ms: the key did not end it"
e2e_wait_log "Could not find keyconfig. Creating from default data."
sleep 1.5
e2e_log_has "unloading dat/title.dat" && e2e_fail "the Enter that ended the logo also chose \"Play!\" on the title"
e2e_menu_quit "$wid"
echo "a key ends the logo after ${elapsed} ms: ok"

echo "e2e logo_title: ok"
