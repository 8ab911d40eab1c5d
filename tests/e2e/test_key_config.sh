#!/usr/bin/env bash
# "Key Config" under "Options": a key line waits for a key and takes it,
# "Back" saves the profile's keys, the next run reads them back, and
# "Reset" writes the default keys again.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"

default_keys=$'down 1 85 \nfire 1 75 \nleft 1 82 \nright 1 83 \nup 1 84 \n'
# Allegro numbers the A key 1.
fire_on_a=$'down 1 85 \nfire 1 1 \nleft 1 82 \nright 1 83 \nup 1 84 \n'
# "Options", then "Key Config", its sixth line.
key_config=(Down Return Down Down Down Down Down Return)

# Every key waits for the game to show it took the one before, so the test
# reads the same on a busy machine as on an idle one.
e2e_start_title
wid=$e2e_wid
e2e_wait_content profiles/dorir.cfg "$default_keys"
# "Action" is the fifth line; it waits for the next key. "Back" is the
# seventh.
e2e_press_seen "$wid" "${key_config[@]}" Down Down Down Down Return a
e2e_press_seen "$wid" Down Down Return
e2e_wait_content profiles/dorir.cfg "$fire_on_a" 10
# "Back" on the key page leads to "Options", whose last line leaves it.
e2e_press_seen "$wid" Down Down Down Down Down Down Return
e2e_wait_file settings.cfg 10
e2e_settle "$wid" 15 || e2e_fail "the title did not come back"
e2e_menu_quit_seen "$wid"
echo "Action on A: ok"

# The next run takes the profile's keys: leaving the key page untouched
# saves them as they were read.
e2e_restart
wid=$e2e_wid
e2e_log_has "Could not find keyconfig. Creating from default data." && e2e_fail "the second run did not find the saved keys"
e2e_press_seen "$wid" "${key_config[@]}" Down Down Down Down Down Down Return
e2e_settle "$wid" 15 || e2e_fail "the options did not come back"
e2e_expect_content profiles/dorir.cfg "$fire_on_a"
# "Reset" is the sixth line of the key page, reached from "Options" again.
e2e_press_seen "$wid" Down Down Down Down Down Return Down Down Down Down Down Return
e2e_wait_content profiles/dorir.cfg "$default_keys" 10
e2e_press_seen "$wid" Down Return Down Down Down Down Down Down Return
e2e_settle "$wid" 15 || e2e_fail "the title did not come back"
e2e_menu_quit_seen "$wid"
echo "read back, then reset: ok"

# Stopped by a signal, the game leaves no allegro.cfg in its folder.
e2e_restart
e2e_stop_by_signal
[ -e "$e2e_scratch/game/allegro.cfg" ] && e2e_fail "a stop by SIGTERM left allegro.cfg in the game's folder"
echo "stopped by SIGTERM, nothing left: ok"

echo "e2e key_config: ok"
