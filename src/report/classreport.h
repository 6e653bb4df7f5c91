// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "progressperiods.h"

#include "evaluate/thinkingindices.h"
#include "store/historyrows.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The class overview: one page with a row per pupil, each with the totals, the
// four indices of the whole history and a small chart of them per week, all
// charts over the same stretch of time.

// One pupil's history as the overview shows it.
struct PupilSummary
{
    QString dataPath;
    QString pupil;
    QString problem; // why the file could not be read; empty when it was
    HistoryTotals totals;
    ThinkingIndices indices;
    QList<PeriodIndices> weeks;
};

// Reads the history at `dataPath` as the progress report reads it. A file that
// is missing, damaged or not a history of Zorvel gives a summary with the reason
// in `problem`.
PupilSummary readPupilSummary(const QString &dataPath);

QString classReportHtml(const QList<PupilSummary> &pupils, const QDateTime &madeAt);

// Reads the histories at `dataPaths` and writes their overview to `path`; the
// page holds a row for each, one that could not be read with the reason, and
// `unreadable` lists those ("file: reason"). Nothing appears at `path` unless
// it was written whole. Returns false, with the reason in `error`, when the page
// could not be written.
bool writeClassReport(const QStringList &dataPaths, const QString &path, QString &error, QStringList &unreadable);
