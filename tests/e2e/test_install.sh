#!/usr/bin/env bash
# An installed game: cmake --install into a scratch prefix gives the program,
# its data, a valid desktop entry, icons and a man page; the installed game
# starts, keeps its files in the player's data folder and never writes into
# the shared one.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init "${1:-}"
build=$(cd "$e2e_run_dir/.." && pwd)
prefix="$e2e_scratch/prefix"
cmake --install "$build" --prefix "$prefix" >"$e2e_scratch/install.out" 2>&1 \
    || e2e_fail "cmake --install failed: $(cat "$e2e_scratch/install.out")"

for file in bin/tidewander share/tidewander/credits.txt share/tidewander/lvl/levels.dat \
    share/tidewander/dat/font.dat share/tidewander/mus/title.ogg share/applications/tidewander.desktop \
    share/man/man6/tidewander.6; do
    [ -e "$prefix/$file" ] || e2e_fail "the install has no $file"
done
ls "$prefix/share/tidewander/sfx/"*.ogg >/dev/null 2>&1 || e2e_fail "the install has no sounds"
desktop-file-validate "$prefix/share/applications/tidewander.desktop" \
    || e2e_fail "the desktop entry is not valid"
for size in 16 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/tidewander.png"
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || e2e_fail "no ${size}px icon"
done
echo "install tree: ok"

# The installed game, started from elsewhere, with a data folder of its own.
shared_before=$(cd "$prefix/share/tidewander" && find . | sort)
xdg="$e2e_scratch/xdg"
mkdir -p "$e2e_scratch/game"
(cd "$e2e_scratch" && XDG_DATA_HOME="$xdg" exec "$prefix/bin/tidewander" >"$e2e_scratch/game/game.out" 2>&1) &
e2e_game_pid=$!
wid=$(e2e_window 15) || e2e_fail "no window"
deadline=$((SECONDS + 10))
until [ -s "$xdg/tidewander/debug.log" ] && [ -e "$xdg/tidewander/profiles.cfg" ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "nothing was written into $xdg/tidewander"
    sleep 0.1
done
kill -TERM "$e2e_game_pid"
status=0
timeout 20 tail --pid="$e2e_game_pid" -f /dev/null
wait "$e2e_game_pid" || status=$?
e2e_game_pid=""
[ "$status" -eq 0 ] || e2e_fail "the installed game ended with status $status"
[ -e "$xdg/tidewander/settings.cfg" ] || e2e_fail "no settings.cfg in the player's folder"
[ "$(cd "$prefix/share/tidewander" && find . | sort)" = "$shared_before" ] \
    || e2e_fail "the game wrote into the shared folder"
for stray in debug.log settings.cfg profiles.cfg allegro.cfg; do
    [ ! -e "$e2e_scratch/$stray" ] || e2e_fail "the game wrote $stray into the folder it was started from"
done
echo "installed game: ok"
