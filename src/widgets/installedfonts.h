// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTranslator>

// The family that Qt's font matching ends on for `family`: the family itself
// where it is installed, otherwise its first installed substitute
// (QFont::substitutes), otherwise the family unchanged. Worked out once per name.
QString installedFamily(const QString &family);

// The style sheet with every quoted family that has substitutes replaced by
// installedFamily(): the same face, found without searching for a missing one.
QString withInstalledFamilies(const QString &styleSheet);

// Gives the windows' style sheets, as their forms set them, with the installed
// faces named (withInstalledFamilies): each window is styled once, with the face
// it shows, and no search for a family that is not there. Every other text is
// left to the other translators.
class InstalledFontTranslator : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
