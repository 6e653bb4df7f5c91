#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a virtual X server with the AT-SPI bus of its own
# D-Bus session, read by screen_reader_probe.py. Skips (77) where AT-SPI or its
# Python bindings are missing.
set -eu
program="$1"
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
if [ ! -x "$launcher" ] || ! "$python" -c "import pyatspi" 2>/dev/null || ! command -v dbus-run-session >/dev/null; then
    echo "AT-SPI, python3-pyatspi or D-Bus is missing"
    exit 77
fi
if [ -z "${ZORVEL_IN_SESSION:-}" ]; then
    ZORVEL_IN_SESSION=1 exec dbus-run-session -- sh "$0" "$@"
fi
home=$(mktemp -d)
trap 'kill $pids 2>/dev/null || true; rm -rf "$home"' EXIT
"$launcher" --launch-immediately &
pids=$!
sleep 1
HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$program" --data "$home/history.mdb" &
pids="$pids $!"
"$python" "$(dirname "$0")/screen_reader_probe.py"
