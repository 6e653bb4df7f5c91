// SPDX-License-Identifier: GPL-3.0-or-later
#include "questiontext.h"

QuestionText fillQuestionTemplate(const QString &templateText, const QString &word)
{
    const qsizetype slot = templateText.indexOf(QLatin1Char('#'));
    if (word.isEmpty() || slot < 0)
        return {templateText, QString(), QString()};
    QString after = templateText.mid(slot + 1);
    after.replace(QLatin1Char('#'), word);
    return {templateText.left(slot), word, after};
}
