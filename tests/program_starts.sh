#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program under a virtual X server with an empty home folder and
# checks that it creates its database and shows its main window at the right size.
set -eu
. "$(dirname "$0")/program_under_x.sh"

wait_for_window Zorvel || { echo "the main window did not show"; exit 1; }
info=$(xwininfo -name Zorvel)
echo "$info" | grep -q "Width: 362" || { echo "main window width is not 362"; echo "$info"; exit 1; }
echo "$info" | grep -q "Height: 474" || { echo "main window height is not 474"; echo "$info"; exit 1; }
[ -f "$home/.local/share/Zorvel/Zorvel.mdb" ] || { echo "no database file was created"; exit 1; }
kill -0 "$pid" || { echo "the program ended on its own"; exit 1; }
