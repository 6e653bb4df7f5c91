// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Database;
class HistoryActions;
class QWidget;

// Opens a new evaluation window on the indices of `db` and waits until the user
// closes it. Each call computes the indices afresh; the window is freed once it
// has closed. A window closed by a restore is followed by a new one on the
// restored history. Without `actions`, the history's buttons are disabled.
void openEvaluateWindow(Database &db, QWidget *parent, HistoryActions *actions = nullptr);

// Reads ahead what the evaluation window needs from `db`, so that it opens
// without reading the whole history. A failure is left for the window to report.
void readAheadEvaluation(Database &db);
