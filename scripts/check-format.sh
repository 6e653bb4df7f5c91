#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ file of the tree differs from what clang-format makes of it
# under the project's .clang-format; names each such file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --run clang-format
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "check-format: $(git ls-files '*.cpp' '*.h' | wc -l) files formatted as .clang-format says"
