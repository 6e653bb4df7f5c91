#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one Windows test program under Wine for CTest (the Windows build's
# CMAKE_CROSSCOMPILING_EMULATOR). The output goes through a file: Wine's console
# host can outlive the program with its output pipe open, and CTest would wait.
output=$(mktemp)
wine "$@" >"$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
exit $status
