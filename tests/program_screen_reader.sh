#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a virtual X server with the AT-SPI bus of its own
# D-Bus session, read by screen_reader_probe.py and, where Orca is installed,
# by Orca, which runs without braille and without a speech server and only logs
# what it would say. Skips (77) where AT-SPI or its Python bindings are missing.
set -eu
program="$1"
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
if [ ! -x "$launcher" ] || ! "$python" -c "import pyatspi" 2>/dev/null || ! command -v dbus-run-session >/dev/null; then
    echo "AT-SPI, python3-pyatspi or D-Bus is missing"
    exit 77
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
status=0
dbus-run-session -- "$python" "$(dirname "$0")/screen_reader_probe.py" "$program" "$folder" || status=$?
exit "$status"
