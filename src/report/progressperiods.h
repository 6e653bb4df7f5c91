// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluate/thinkingindices.h"
#include "store/historyrows.h"

#include <QDate>
#include <QList>
#include <QPointF>

// The thinking indices of parts of the history: the evaluation's averages taken
// over the questions of one week or one month.

enum class ProgressPeriod {
    Week, // Monday to Sunday
    Month,
};

// The first day of the period that holds `day`.
QDate periodStart(const QDate &day, ProgressPeriod period);

struct PeriodIndices
{
    QDate start;
    int questions = 0; // with at least one accepted answer
    ThinkingIndices indices;
};

// The indices of exactly these questions, computed as the evaluation window
// computes them from the whole history: equal to it for all of its questions.
ThinkingIndices indicesOfQuestions(const QList<WeightedQuestion> &questions);

// The indices per period, oldest first; periods without questions are left out.
// Questions whose time cannot be read are left out as well.
QList<PeriodIndices> indicesByPeriod(const QList<WeightedQuestion> &questions, ProgressPeriod period);

// The first day of the period after the one that starts on `start`.
QDate nextPeriodStart(const QDate &start, ProgressPeriod period);

// One index of the periods on a time axis in days (Julian day numbers), each
// period at its middle, in stretches of periods that follow one another: a
// period without questions parts two stretches.
QList<QList<QPointF>> periodStretches(const QList<PeriodIndices> &periods, ProgressPeriod period,
                                      int ThinkingIndices::*member);
