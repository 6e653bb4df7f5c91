#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a virtual X server with the AT-SPI bus of its own
# D-Bus session, read by screen_reader_probe.py, and, where Orca is installed,
# by Orca: its debug log must show each verdict, the question, the score and the
# chart's bars spoken ("SPEECH OUTPUT"). Orca
# runs without braille and without a speech server, which it only logs to.
# Skips (77) where AT-SPI or its Python bindings are missing.
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
orca_log="$home/orca.log"
if command -v orca >/dev/null; then
    mkdir -p "$home/orca"
    HOME="$home/orca" XDG_CONFIG_HOME="$home/orca/.config" XDG_DATA_HOME="$home/orca/.local/share" \
        SPEECHD_ADDRESS="unix_socket:$home/no-speech-server" \
        orca --replace --disable=braille --disable=braille-monitor --debug-file="$orca_log" >/dev/null 2>&1 &
    orca_pid=$!
    pids="$pids $orca_pid"
    sleep 4
fi
HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$program" --data "$home/history.mdb" &
pids="$pids $!"
"$python" "$(dirname "$0")/screen_reader_probe.py" "$home/verdicts" "$home/spoken" "$orca_log"
[ -f "$orca_log" ] || { echo "Orca is not installed: checked over AT-SPI only"; exit 0; }
# Orca writes the end of its log when it ends: it is asked to, and waited for,
# ten seconds at most.
kill "$orca_pid"
tries=100
while kill -0 "$orca_pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
    tries=$((tries - 1))
    sleep 0.1
done
while read -r verdict; do
    grep -q "SPEECH OUTPUT: '.*$verdict" "$orca_log" || { echo "Orca did not speak the verdict $verdict"; exit 1; }
done < "$home/verdicts"
# The question when it appears, the score an answer raised, and each of the
# chart's bars with its value as the arrow keys reach it.
grep "SPEECH OUTPUT:" "$orca_log" > "$home/speech" || true
while read -r spoken; do
    grep -qF "$spoken" "$home/speech" || { echo "Orca did not speak $spoken"; exit 1; }
done < "$home/spoken"
grep -q "分数 [0-9][0-9]* " "$home/speech" || { echo "Orca did not speak the score"; exit 1; }
