// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyexport.h"

#include "csvwriting.h"

#include "store/historyrows.h"
#include "training/questiontext.h"

#include <QSaveFile>

namespace {

const QStringList columnNames{
    QStringLiteral("问题编号"), QStringLiteral("时间"), QStringLiteral("问题"), QStringLiteral("词"),
    QStringLiteral("词类"),     QStringLiteral("回答"), QStringLiteral("得分"),
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
    // A question's answers come one after another: its text is filled once.
    int questionId = 0;
    QString questionText;
    forEachAcceptedAnswer(db, [&](const AcceptedAnswerRow &row) {
        if (row.questionId != questionId) {
            questionId = row.questionId;
            questionText = fillQuestionTemplate(row.templateText, row.word).plainText();
        }
        file.write(csvRecord({QString::number(row.questionId), row.time, questionText, row.word, row.wordClass,
                              row.answer, QString::number(row.score)})
                       .toUtf8());
    });
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
