# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that start the real program under a virtual X server:
# starts "$1" with an empty home folder, ends it when the test ends, and offers
# wait_for_window NAME, which waits up to a minute for a window of that name.
. "$(dirname "$0")/waiting.sh"
program="$1"
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=xcb "$program" &
pid=$!

window_shown() {
    xwininfo -name "$1" 2>/dev/null | grep -q "Map State: IsViewable" && return 0
    kill -0 "$pid" 2>/dev/null || { echo "the program has ended"; return 3; }
    return 1
}
wait_for_window() { wait_until 60 "a window named $1" window_shown "$1"; }
