#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a virtual X server on two data files given with --data:
# one window each, each file made; a later start on the first file brings that
# window forward and ends, as with the user's own file.
set -eu
. "$(dirname "$0")/waiting.sh"
program="$1"
home=$(mktemp -d)
pids=""
trap 'for pid in $pids; do kill "$pid" 2>/dev/null || true; done; rm -rf "$home"' EXIT
start() { HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=xcb "$program" --data "$1" & pids="$pids $!"; }
windows() { xdotool search --onlyvisible --name '^Zorvel$' 2>/dev/null | wc -l; }
windows_are() { [ "$(windows)" -eq "$1" ]; }

mkdir -p "$home/pupil one" "$home/stick"
start "$home/pupil one/history.mdb"
start "$home/stick/Zorvel.mdb"
wait_until 60 "two windows" windows_are 2 || { echo "two starts on two files did not show two windows: $(windows)"; exit 1; }
[ -f "$home/pupil one/history.mdb" ] || { echo "the first file was not made"; exit 1; }
[ -f "$home/stick/Zorvel.mdb" ] || { echo "the second file was not made"; exit 1; }
[ ! -e "$home/.local/share/Zorvel/Zorvel.mdb" ] || { echo "the user's own file was made as well"; exit 1; }

HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=xcb timeout 60 "$program" --data "$home/pupil one/history.mdb" \
    || { echo "a later start on the first file did not end with status 0"; exit 1; }
# A later start ends before it makes a window of its own.
[ "$(windows)" -eq 2 ] || { echo "a later start on the first file changed the windows: $(windows)"; exit 1; }
for pid in $pids; do
    kill -0 "$pid" 2>/dev/null || { echo "a later start on the first file ended an earlier start"; exit 1; }
done

