// SPDX-License-Identifier: GPL-3.0-or-later
#include "questionrecords.h"

#include "database.h"
#include "historystatistics.h"
#include "namelist.h"
#include "sessioncache.h"
#include "statements.h"

#include <QDateTime>
#include <QSqlQuery>

namespace {

// A null QString binds as NULL; a question without a slot word stores the empty text.
QString textValue(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Runs a statement that changes the question's counts, and tells the cached sums
// how it changed them when they are kept.
void changeQuestion(Database &db, int questionId, const QString &sql, const QVariantList &values)
{
    if (!db.statements().cache().sums()) {
        db.statements().run(sql, values);
        return;
    }
    const HistorySums before = questionShare(db, questionId);
    db.statements().run(sql, values);
    HistorySums difference = questionShare(db, questionId);
    difference -= before;
    db.statements().cache().sumsChanged(difference);
}

} // namespace

// A new question has no counts yet, so the history's sums stay as they are.
int InsertQuestionRecord(Database &db, int templateId, const QString &word, const QString &keyword)
{
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return db.statements().insert(
        QStringLiteral("INSERT INTO wt (wtlxid, match_word, keyword, dotime) VALUES (?, ?, ?, ?)"),
        {templateId, textValue(word), textValue(keyword), now});
}

void SaveQuestionStats(Database &db, int questionId, int score, int answerCount, int repeatCount)
{
    changeQuestion(db, questionId,
                   QStringLiteral("UPDATE wt SET score = ?, answer_count = ?, repeate_count = ? WHERE id = ?"),
                   {score, answerCount, repeatCount, questionId});
}

bool QuestionHasAnswers(Database &db, int questionId)
{
    return db.statements()
        .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM hd WHERE wtid = ?)"), {questionId})
        .toBool();
}

void DeleteQuestion(Database &db, int questionId)
{
    changeQuestion(db, questionId, QStringLiteral("DELETE FROM wt WHERE id = ?"), {questionId});
}

// A question's answer count is saved in the transaction that links its answer, so
// the count finds the candidates in one pass over the table, and only those are
// looked up among the answers. Questions without answers count in none of the
// session cache's sums, so the cache stays as it is.
void deleteQuestionsLeftUnanswered(Database &db)
{
    db.statements().run(QStringLiteral("DELETE FROM wt WHERE coalesce(answer_count, 0) = 0"
                                       " AND NOT EXISTS (SELECT 1 FROM hd WHERE hd.wtid = wt.id)"));
}

void LinkAnswer(Database &db, int questionId, int wordId)
{
    db.statements().insert(QStringLiteral("INSERT INTO hd (wtid, ciid) VALUES (?, ?)"), {questionId, wordId});
}

bool IsWordUsedBefore(Database &db, int wordId)
{
    return db.statements().scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM hd WHERE ciid = ?)"), {wordId}).toBool();
}

bool questionHoldsWordNamed(Database &db, int questionId, const QStringList &names)
{
    QVariantList values{questionId};
    const QString condition = columnIsOneOf(QStringLiteral("ci.name"), names, values);
    return db.statements()
        .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM hd JOIN ci ON hd.ciid = ci.id"
                               " WHERE hd.wtid = ? AND ")
                    + condition + QLatin1Char(')'),
                values)
        .toBool();
}
