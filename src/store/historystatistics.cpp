// SPDX-License-Identifier: GPL-3.0-or-later
#include "historystatistics.h"

#include "database.h"

double meanWeightedAnswerCount(const Database &db)
{
    return db.scalar(QStringLiteral("SELECT avg(wt.answer_count * wtlx.fsqz) AS radioindex FROM wt, wtlx"
                                    " WHERE wt.answer_count > 0 AND wt.wtlxid = wtlx.id"))
        .toDouble();
}

double meanWeightedNewWordCount(const Database &db)
{
    return db.scalar(QStringLiteral("SELECT avg((wt.answer_count - wt.repeate_count) * wtlx.fsqz) AS newwordindex"
                                    " FROM wt, wtlx WHERE wt.answer_count > 0 AND wt.wtlxid = wtlx.id"))
        .toDouble();
}

double meanWeightedRepeatCount(const Database &db)
{
    return db.scalar(QStringLiteral("SELECT avg(wt.repeate_count * wtlx.fsqz) AS oldwordindex FROM wt, wtlx"
                                    " WHERE wt.repeate_count > 0 AND wt.wtlxid = wtlx.id"))
        .toDouble();
}
