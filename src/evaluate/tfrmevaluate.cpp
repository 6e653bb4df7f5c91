// SPDX-License-Identifier: GPL-3.0-or-later
#include "tfrmevaluate.h"
#include "ui_tfrmevaluate.h"

#include "chart/horizontalbarseries.h"
#include "store/databaseerror.h"
#include "widgets/messageboxes.h"

namespace {

const QColor seriesColor(255, 0, 0);
const QColor markColor(255, 255, 128);
constexpr int barThicknessPercent = 70;
constexpr int markLineLength = 20;

} // namespace

TfrmEvaluate::TfrmEvaluate(Database &db, QWidget *parent)
    : CloseButtonDialog(parent),
      ui(std::make_unique<Ui::TfrmEvaluate>())
{
    ui->setupUi(this);
    addIndexSeries();
    setCloseButton(ui->Button1);
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmEvaluate::Button1Click);
    centerOnScreen();
    ui->PageControl1->setFocus();
    FormCreate(db);
}

TfrmEvaluate::~TfrmEvaluate() = default;

// The chart's one series, empty until the indices are known. Every bar takes the
// palette colour of its position, so the series colour itself is never seen.
void TfrmEvaluate::addIndexSeries()
{
    auto series = std::make_unique<HorizontalBarSeries>(QStringLiteral("Series1"));
    series->setColorEachPoint(true);
    series->setColor(seriesColor);
    series->setBarThicknessPercent(barThicknessPercent);
    series->setMarksVisible(true);
    series->setMarkColor(markColor);
    series->setMarkLineLength(markLineLength);
    ui->chartEvaluate->addSeries(std::move(series));
}

HorizontalBarSeries *TfrmEvaluate::indexSeries() const
{
    return ui->chartEvaluate->series(0);
}

// A failing query ends the work here: the box shows the error's own text and the
// chart keeps no bars.
void TfrmEvaluate::FormCreate(Database &db)
{
    m_indices = ThinkingIndices();
    try {
        ComputeThinkingIndices(db, m_indices);
        FillIndexChart();
    } catch (const DatabaseError &error) {
        MessageBoxes::showError(this, error.text());
    }
}

// One bar per index, from the bottom of the chart upwards, each in the automatic
// colour of its position and marked with its name.
void TfrmEvaluate::FillIndexChart()
{
    const QColor automaticColor;
    HorizontalBarSeries *series = indexSeries();
    const QList<ThinkingIndexKind> &kinds = thinkingIndexKinds();
    for (auto kind = kinds.crbegin(); kind != kinds.crend(); ++kind)
        series->addBar(double(m_indices.*kind->member), kind->name, automaticColor);
    // A screen reader sees no bars: the chart tells its title and the values,
    // the window what they mean.
    ui->chartEvaluate->setAccessibleName(ui->chartEvaluate->title());
    ui->chartEvaluate->setAccessibleDescription(describeThinkingIndices(m_indices));
    setAccessibleDescription(thinkingIndicesExplanation());
}

void TfrmEvaluate::Button1Click()
{
    reject();
}
