#!/bin/sh
# Starts the real program under a virtual X server with an empty home folder and
# checks that it creates its database and shows its main window at the right size.
set -eu
program="$1"
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=xcb "$program" &
pid=$!

for _ in $(seq 1 100); do
    if xwininfo -name Zorvel >/dev/null 2>&1; then break; fi
    sleep 0.1
done
info=$(xwininfo -name Zorvel)
echo "$info" | grep -q "Width: 362" || { echo "main window width is not 362"; echo "$info"; exit 1; }
echo "$info" | grep -q "Height: 474" || { echo "main window height is not 474"; echo "$info"; exit 1; }
[ -f "$home/.local/share/Zorvel/Zorvel.mdb" ] || { echo "no database file was created"; exit 1; }
kill -0 "$pid" || { echo "the program ended on its own"; exit 1; }
