// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyexport.h"

#include "csvwriting.h"
#include "savedfile.h"

#include "store/historyrows.h"
#include "training/questiontext.h"

namespace {

const QStringList columnNames{
    QStringLiteral("问题编号"), QStringLiteral("时间"), QStringLiteral("问题"), QStringLiteral("词"),
    QStringLiteral("词类"),     QStringLiteral("回答"), QStringLiteral("得分"),
};

} // namespace

QByteArray answersAsCsv(const Database &db)
{
    QString table = csvRecord(columnNames);
    for (const AcceptedAnswerRow &row : acceptedAnswerRows(db)) {
        table += csvRecord({QString::number(row.questionId), row.time,
                            fillQuestionTemplate(row.templateText, row.word).plainText(), row.word, row.wordClass,
                            row.answer, QString::number(row.score)});
    }
    return QByteArray("\xEF\xBB\xBF") + table.toUtf8();
}

bool writeAnswersCsv(const Database &db, const QString &path, QString &error)
{
    return saveWhole(path, answersAsCsv(db), error);
}
