#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command under a virtual X server of its own: Xvfb picks a free display
# number itself and writes it once it accepts clients (-displayfd), so tests that
# run side by side never share or race for a display; it never resets between
# clients (-noreset). Ends the server after the command and passes on the
# command's exit status; prints the server's log when the command fails.
#   with_x_server.sh COMMAND [ARGUMENTS...]
set -eu
. "$(dirname "$0")/waiting.sh"
folder=$(mktemp -d)
server=""
trap 'if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi; rm -rf "$folder"' EXIT
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$folder/display" >"$folder/server.log" 2>&1 &
server=$!
server_ready() { grep -q '^[0-9][0-9]*$' "$folder/display"; }
if ! wait_until 60 "the virtual X server to accept clients" server_ready; then
    cat "$folder/server.log"
    exit 1
fi
DISPLAY=":$(cat "$folder/display")"
export DISPLAY
status=0
"$@" || status=$?
if [ "$status" -ne 0 ] && [ -s "$folder/server.log" ]; then
    echo "The virtual X server on $DISPLAY said:"
    cat "$folder/server.log"
fi
exit "$status"
