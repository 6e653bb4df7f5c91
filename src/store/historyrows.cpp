// SPDX-License-Identifier: GPL-3.0-or-later
#include "historyrows.h"

#include "database.h"
#include "seedcontent.h"
#include "statements.h"

#include <QSqlQuery>
#include <QVariant>

void forEachAcceptedAnswer(Database &db, const std::function<void(const AcceptedAnswerRow &)> &take)
{
    QSqlQuery query = db.statements().execute(QStringLiteral(
        "SELECT wt.id, wt.dotime, coalesce(wtlx.neirong, ''), coalesce(wt.match_word, ''), coalesce(cx.name, ''),"
        " coalesce(ci.name, ''), coalesce(wt.score, 0)"
        " FROM hd JOIN wt ON wt.id = hd.wtid LEFT JOIN ci ON ci.id = hd.ciid"
        " LEFT JOIN wtlx ON wtlx.id = wt.wtlxid LEFT JOIN cx ON cx.id = wtlx.ppcxid"
        " ORDER BY hd.id"));
    while (query.next()) {
        take({query.value(0).toInt(), query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
              query.value(4).toString(), query.value(5).toString(), query.value(6).toInt()});
    }
}

namespace {

std::optional<qint64> optionalValue(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<qint64>(value.toLongLong());
}

} // namespace

QList<WeightedQuestion> weightedAnsweredQuestions(Database &db)
{
    QSqlQuery query = db.statements().execute(
        QStringLiteral("SELECT wt.dotime, wt.answer_count > 0, wt.repeate_count > 0, wt.answer_count * wtlx.fsqz,"
                       " (wt.answer_count - wt.repeate_count) * wtlx.fsqz, wt.repeate_count * wtlx.fsqz FROM wt, wtlx"
                       " WHERE (wt.answer_count > 0 OR wt.repeate_count > 0) AND wt.wtlxid = wtlx.id ORDER BY wt.id"));
    QList<WeightedQuestion> rows;
    while (query.next()) {
        rows.append({query.value(0).toString(), query.value(1).toInt() == 1, query.value(2).toInt() == 1,
                     optionalValue(query.value(3)), optionalValue(query.value(4)), optionalValue(query.value(5))});
    }
    return rows;
}

HistoryTotals historyTotals(Database &db)
{
    QSqlQuery questions = db.statements().execute(
        QStringLiteral("SELECT count(*), coalesce(sum(answer_count > 0), 0), min(dotime), max(dotime) FROM wt"));
    HistoryTotals totals;
    if (questions.next()) {
        totals.questions = questions.value(0).toInt();
        totals.answeredQuestions = questions.value(1).toInt();
        totals.firstTime = questions.value(2).toString();
        totals.lastTime = questions.value(3).toString();
    }
    totals.answers = db.statements().scalar(QStringLiteral("SELECT count(*) FROM hd")).toInt();
    totals.score = db.statements()
                       .scalar(
                           QStringLiteral("SELECT coalesce(sum(score), 0) FROM wt WHERE id IN (SELECT wtid FROM hd)"))
                       .toLongLong();
    totals.learnedWords = db.statements()
                              .scalar(QStringLiteral("SELECT count(*) FROM ci WHERE id > ?"),
                                      {SeedContent::dictionaryWords().size()})
                              .toInt();
    return totals;
}
