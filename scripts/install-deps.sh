#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building and running Zorvel need and,
# unless --run is given, everything its tests use too (a virtual display, X11
# tools, Chromium, a screen reader, clang-format), plus any further packages
# named as arguments.
# Does nothing when they are all present; uses sudo when not run as root.
#
#   scripts/install-deps.sh [--run] [PACKAGE...]
set -euo pipefail

build_and_run=(
    g++ cmake make pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins libgl-dev
    qt6-translations-l10n qt6-l10n-tools
    fonts-noto-cjk fonts-liberation2
)
tests=(
    xdotool
    xvfb xauth x11-utils
    chromium libreoffice-calc-nogui
    python3-pyatspi orca dbus-daemon
    clang-format
)

packages=("${build_and_run[@]}")
if [ "${1:-}" = "--run" ]; then
    shift
else
    packages+=("${tests[@]}")
fi
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please run as root or install sudo: missing packages ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
