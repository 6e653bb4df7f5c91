// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "thinkingindices.h"

#include "widgets/closebuttondialog.h"

#include <memory>

namespace Ui {
class TfrmEvaluate;
}

class Database;
class HorizontalBarSeries;

// The evaluation window: the four thinking indices of everything answered so far,
// as a horizontal bar chart. All its work happens while it is built; afterwards
// it only displays, and its one control with behaviour is the close button.
class TfrmEvaluate : public CloseButtonDialog
{
    Q_OBJECT

public:
    // Computes the indices from `db` at once. A failing query is reported in an
    // error box and leaves the chart without bars; the window still opens.
    explicit TfrmEvaluate(Database &db, QWidget *parent = nullptr);
    ~TfrmEvaluate() override;

private:
    void FormCreate(Database &db);
    void FillIndexChart();
    void Button1Click();

    void addIndexSeries();
    HorizontalBarSeries *indexSeries() const;

    std::unique_ptr<Ui::TfrmEvaluate> ui;
    ThinkingIndices m_indices;
};
