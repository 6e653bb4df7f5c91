// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The family that Qt's font matching ends on for `family`: the family itself
// where it is installed, otherwise its first installed substitute
// (QFont::substitutes), otherwise the family unchanged. Worked out once per name.
QString installedFamily(const QString &family);

// The style sheet with every quoted family that has substitutes replaced by
// installedFamily(): the same face, found without searching for a missing one.
// Given to a window before its first show, it costs no restyling.
QString withInstalledFamilies(const QString &styleSheet);
