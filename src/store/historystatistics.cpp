// SPDX-License-Identifier: GPL-3.0-or-later
#include "historystatistics.h"

#include "database.h"
#include "sessioncache.h"
#include "statements.h"

namespace {

// The three weighted counts of a question, each null where its average leaves the
// question out: the answered questions, and those with a reused word.
const QString weightedCounts = QStringLiteral(
    "CASE WHEN wt.answer_count > 0 THEN wt.answer_count * wtlx.fsqz END AS answered,"
    " CASE WHEN wt.answer_count > 0 THEN (wt.answer_count - wt.repeate_count) * wtlx.fsqz END AS newwords,"
    " CASE WHEN wt.repeate_count > 0 THEN wt.repeate_count * wtlx.fsqz END AS repeated"
    " FROM wt JOIN wtlx ON wt.wtlxid = wtlx.id");

void addValue(const QVariant &value, double &total, qint64 &rows)
{
    if (value.isNull())
        return;
    total += value.toDouble();
    ++rows;
}

const HistorySums &cachedSums(Database &db)
{
    SessionCache &cache = currentCache(db);
    if (!cache.sums())
        cache.setSums(computeHistorySums(db));
    return *cache.sums();
}

} // namespace

HistorySums computeHistorySums(Database &db)
{
    const QVariantList row = db.statements().firstRow(
        QStringLiteral("SELECT total(answered), count(answered), total(newwords), count(newwords),"
                       " total(repeated), count(repeated) FROM (SELECT ")
        + weightedCounts + QLatin1Char(')'));
    return {row.value(0).toDouble(),   row.value(1).toLongLong(), row.value(2).toDouble(),
            row.value(3).toLongLong(), row.value(4).toDouble(),   row.value(5).toLongLong()};
}

HistorySums questionShare(Database &db, int questionId)
{
    HistorySums share;
    const QVariantList row = db.statements().firstRow(
        QStringLiteral("SELECT ") + weightedCounts + QStringLiteral(" WHERE wt.id = ?"), {questionId});
    if (row.isEmpty())
        return share;
    addValue(row.at(0), share.answerTotal, share.answerRows);
    addValue(row.at(1), share.newWordTotal, share.newWordRows);
    addValue(row.at(2), share.repeatTotal, share.repeatRows);
    return share;
}

void loadHistorySums(Database &db)
{
    cachedSums(db);
}

double meanWeightedAnswerCount(Database &db)
{
    const HistorySums &sums = cachedSums(db);
    return meanOf(sums.answerTotal, sums.answerRows);
}

double meanWeightedNewWordCount(Database &db)
{
    const HistorySums &sums = cachedSums(db);
    return meanOf(sums.newWordTotal, sums.newWordRows);
}

double meanWeightedRepeatCount(Database &db)
{
    const HistorySums &sums = cachedSums(db);
    return meanOf(sums.repeatTotal, sums.repeatRows);
}
