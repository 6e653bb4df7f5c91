#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and makes the Debian package build/zorvel_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --run dpkg-dev file
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
rm -f build/zorvel_*.deb
cd build
cpack -G DEB
