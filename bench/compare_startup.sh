#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and memory of this working tree's zorvel beside another
# revision's (default: main), in one run of bench_startup whose starts alternate
# between the two. The other revision is built once in build-compare/<commit>/.
#   bench/compare_startup.sh [revision] [--samples N]
set -euo pipefail
cd "$(dirname "$0")/.."

revision="${1:-main}"
shift || true
commit=$(git rev-parse --short "$revision")
folder="build-compare/$commit"
if [ ! -x "$folder/build/zorvel" ]; then
    rm -rf "$folder"
    mkdir -p "$folder/src"
    git archive "$commit" | tar -x -C "$folder/src"
    cmake -S "$folder/src" -B "$folder/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$folder/build" --target zorvel -j"$(nproc)"
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target bench_startup -j"$(nproc)"

run=(build/bench/bench_startup --before "$folder/build/zorvel" "$@")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    run=(xvfb-run -a -s "-screen 0 1024x768x24" "${run[@]}")
fi
echo "before: $revision ($commit), after: the working tree"
"${run[@]}"
