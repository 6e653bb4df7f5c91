// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

class Database;

// The progress report: one self-contained HTML page (no scripts, nothing loaded
// from elsewhere, the charts as inline SVG) with the four thinking indices per
// week and per month, the history's totals, and the indices of the whole
// history, which are those of the evaluation window. It prints on A4.
//
// Each index of the whole history stands in an element with an id of its own
// ("radioIndex", "newWordIndex", "oldWordIndex", "heatIndex"), so that the page
// can be read back.
QString progressReportHtml(Database &db, const QDateTime &madeAt);

// Writes the report to `path`; nothing appears there unless it was written
// whole. Returns false, with the reason in `error`, when it could not be written.
bool writeProgressReport(Database &db, const QString &path, QString &error);
