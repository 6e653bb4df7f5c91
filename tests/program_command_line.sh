#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program's command line, without a display: --help and --version answer
# (in Chinese under a Chinese locale) and end without touching the data folder; an
# unknown option ends with status 2.
set -u
program="$1"
version="$2"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LANGUAGE LC_ALL=C.UTF-8 HOME="$home" XDG_DATA_HOME= "$program" "$@"; }
fail() { echo "$1"; exit 1; }

out=$(run --version) || fail "--version did not end with status 0"
[ "$out" = "Zorvel $version" ] || fail "--version printed: $out"
out=$(run -style fusion --help) || fail "--help did not end with status 0"
echo "$out" | grep -q "^Usage: zorvel \[options\]" || fail "--help printed: $out"
# Chinese under a Chinese locale, English otherwise.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=zh_CN.UTF-8 HOME="$home" XDG_DATA_HOME= "$program" --help) ||
    fail "--help under zh_CN did not end with status 0"
echo "$out" | grep -q "^用法：zorvel \[选项\]" || fail "--help under zh_CN printed: $out"
err=$(run --frobnicate 2>&1 >/dev/null); status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with status $status"
echo "$err" | grep -q "frobnicate" || fail "the error does not name the option: $err"
run >/dev/null 2>&1; status=$?
[ "$status" -eq 1 ] || fail "a start without a display ended with status $status"
# Profiles often name a platform; without its display, the options still answer
# and a start says what is missing instead of aborting.
for platform in xcb wayland ""; do
    runs() { env -u DISPLAY -u WAYLAND_DISPLAY -u LANGUAGE LC_ALL=C.UTF-8 QT_QPA_PLATFORM="$platform" HOME="$home" XDG_DATA_HOME= "$program" "$@"; }
    out=$(runs --version 2>/dev/null) || fail "--version with QT_QPA_PLATFORM='$platform' ended with status $?"
    [ "$out" = "Zorvel $version" ] || fail "--version with QT_QPA_PLATFORM='$platform' printed: $out"
    runs --help 2>/dev/null | grep -q "^Usage: zorvel" || fail "--help with QT_QPA_PLATFORM='$platform' did not answer"
    runs >/dev/null 2>&1; status=$?
    [ "$status" -eq 1 ] || fail "a start with QT_QPA_PLATFORM='$platform' and no display ended with status $status"
done
[ -z "$(ls -A "$home")" ] || fail "the home folder was touched: $(ls -A "$home")"
