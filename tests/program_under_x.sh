# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that start the real program under a virtual X server:
# starts "$1" with an empty home folder, ends it when the test ends, and offers
# wait_for_window NAME.
program="$1"
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=xcb "$program" &
pid=$!

wait_for_window() {
    for _ in $(seq 1 100); do
        if xwininfo -name "$1" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    return 1
}
