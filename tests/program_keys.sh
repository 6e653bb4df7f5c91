#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program under a virtual X server and presses Ctrl+E in the
# answer box, where X11's key bindings make it "end of line": the evaluation
# window must open all the same.
set -eu
. "$(dirname "$0")/program_under_x.sh"

wait_for_window Zorvel || { echo "the main window did not show"; exit 1; }
window=$(xdotool search --onlyvisible --name '^Zorvel$' | head -1)
xdotool windowfocus --sync "$window"
xdotool type --delay 20 abc
xdotool key Home ctrl+e
wait_for_window "评价" || { echo "Ctrl+E in the answer box did not open the evaluation window"; exit 1; }
