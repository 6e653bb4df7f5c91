// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "progressperiods.h"
#include "svglinechart.h"

#include <QString>

// What the progress report and the class overview share.

// The page's style sheet; `wide` for the class overview's table.
QString reportStyle(bool wide);

// The start of a page and its end, with its title and style.
QString pageStart(const QString &title, bool wide);
QString pageEnd();

// The four indices' lines over the periods, in the evaluation chart's colours,
// with a gap where periods without questions lie.
QList<LineSeries> indexSeries(const QList<PeriodIndices> &periods, ProgressPeriod period);

// The time axis over the periods from the one starting on `first` to the one
// starting on `last`.
TimeAxis periodAxis(const QDate &first, const QDate &last, ProgressPeriod period, int mostTicks);

// What each index measures and which way is better, each name in its colour.
QString indexExplanations();
