// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyexport.h"

#include "csvwriting.h"
#include "pupil.h"

#include "store/historyrows.h"
#include "training/questiontext.h"

#include <QSaveFile>
#include <QSet>

namespace {

// The answers carry no time of their own: the time is the question's.
const QStringList columnNames{
    QStringLiteral("学生"),     QStringLiteral("问题编号"),
    QStringLiteral("问题时间"), QStringLiteral("问题"),
    QStringLiteral("词"),       QStringLiteral("词类"),
    QStringLiteral("回答"),     QStringLiteral("本题得分（只记在本题的第一行）"),
};

} // namespace

bool writeAnswersCsv(Database &db, const QString &path, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    file.write("\xEF\xBB\xBF");
    file.write(csvRecord(columnNames).toUtf8());
    const QString pupil = pupilNameOf(db);
    // A question's answers come one after another: its text is filled once. Its
    // score stands on its first row only, so that the column sums to the total.
    int questionId = 0;
    QString questionText;
    QSet<int> scored;
    forEachAcceptedAnswer(db, [&](const AcceptedAnswerRow &row) {
        if (row.questionId != questionId) {
            questionId = row.questionId;
            questionText = fillQuestionTemplate(row.templateText, row.word).plainText();
        }
        bool first = false;
        if (!scored.contains(row.questionId)) {
            scored.insert(row.questionId);
            first = true;
        }
        file.write(csvRecord({pupil, QString::number(row.questionId), row.time, questionText, row.word, row.wordClass,
                              row.answer, first ? QString::number(row.score) : QString()})
                       .toUtf8());
    });
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
