// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "thinkingindices.h"

#include "widgets/closebuttondialog.h"

#include <memory>

namespace Ui {
class TfrmEvaluate;
}

class Database;
class HistoryActions;
class HorizontalBarSeries;

// The evaluation window: the four thinking indices of everything answered so far,
// as a horizontal bar chart, and what can be done with the history: the progress
// report, the export of the answers as a table, a backup and a restore. The
// indices are computed while it is built; the history actions ask what they must
// and leave the work to the HistoryActions they are given.
class TfrmEvaluate : public CloseButtonDialog
{
    Q_OBJECT

public:
    // What exec() returns when a restore replaced the history: the window's
    // indices are then out of date, and the opener shows a new window.
    static constexpr int Restored = 2;

    // Computes the indices from `db` at once. A failing query is reported in an
    // error box and leaves the chart without bars; the window still opens.
    // Without `actions`, the history's buttons are disabled.
    explicit TfrmEvaluate(Database &db, QWidget *parent = nullptr);
    TfrmEvaluate(Database &db, HistoryActions *actions, QWidget *parent = nullptr);
    ~TfrmEvaluate() override;

    // Puts the focus on the restore button, where a window opened after a
    // restore continues.
    void focusRestoreButton();

private:
    void FormCreate(Database &db);
    void FillIndexChart();
    void Button1Click();
    void btnReportClick();
    void btnExportClick();
    void btnBackupClick();
    void btnRestoreClick();
    void restoreFrom(const QString &file);

    void addIndexSeries();
    HorizontalBarSeries *indexSeries() const;

    std::unique_ptr<Ui::TfrmEvaluate> ui;
    ThinkingIndices m_indices;
    HistoryActions *m_actions = nullptr;
};

// The file name a save dialog returned, with `suffix` ("csv") added when it has none.
QString withSuffix(const QString &file, const QString &suffix);
