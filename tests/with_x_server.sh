#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command under a virtual X server of its own: Xvfb picks a free display
# number itself and writes it once it accepts clients (-displayfd), so tests that
# run side by side never share or race for a display. Ends the server after the
# command and passes on the command's exit status.
#   with_x_server.sh COMMAND [ARGUMENTS...]
set -eu
. "$(dirname "$0")/waiting.sh"
folder=$(mktemp -d)
server=""
trap 'if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi; rm -rf "$folder"' EXIT
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$folder/display" >"$folder/server.log" 2>&1 &
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
exit "$status"
