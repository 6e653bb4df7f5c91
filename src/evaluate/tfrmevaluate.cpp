// SPDX-License-Identifier: GPL-3.0-or-later
#include "tfrmevaluate.h"
#include "ui_tfrmevaluate.h"

#include "historyactions.h"
#include "tfrmrestore.h"

#include "chart/horizontalbarseries.h"
#include "store/databaseerror.h"
#include "widgets/filedialogs.h"
#include "widgets/messageboxes.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

const QColor seriesColor(255, 0, 0);
const QColor markColor(255, 255, 128);
constexpr int barThicknessPercent = 70;
constexpr int markLineLength = 20;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The wait cursor while a history action works.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

QString withSuffix(const QString &file, const QString &suffix)
{
    if (file.isEmpty() || !QFileInfo(file).suffix().isEmpty())
        return file;
    return file + u'.' + suffix;
}

TfrmEvaluate::TfrmEvaluate(Database &db, QWidget *parent) : TfrmEvaluate(db, nullptr, parent)
{
}

TfrmEvaluate::TfrmEvaluate(Database &db, HistoryActions *actions, QWidget *parent)
    : CloseButtonDialog(parent),
      ui(std::make_unique<Ui::TfrmEvaluate>()),
      m_actions(actions)
{
    ui->setupUi(this);
    addIndexSeries();
    setCloseButton(ui->Button1);
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmEvaluate::Button1Click);
    connect(ui->btnReport, &QPushButton::clicked, this, &TfrmEvaluate::btnReportClick);
    connect(ui->btnExport, &QPushButton::clicked, this, &TfrmEvaluate::btnExportClick);
    connect(ui->btnBackup, &QPushButton::clicked, this, &TfrmEvaluate::btnBackupClick);
    connect(ui->btnRestore, &QPushButton::clicked, this, &TfrmEvaluate::btnRestoreClick);
    for (QPushButton *button : {ui->btnReport, ui->btnExport, ui->btnBackup, ui->btnRestore})
        button->setEnabled(m_actions != nullptr);
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

void TfrmEvaluate::focusRestoreButton()
{
    ui->btnRestore->setFocus();
}

void TfrmEvaluate::btnReportClick()
{
    MessageBoxes::runShowingError(this, [this] {
        QString report;
        {
            const BusyCursor busy;
            report = m_actions->writeReport();
        }
        if (!FileDialogs::openInBrowser(report)) {
            MessageBoxes::showNotice(
                this, QMessageBox::Warning,
                QStringLiteral("进度报告已写入“%1”，但无法用浏览器打开它，请自行打开这个文件。").arg(shown(report)));
        }
    });
}

void TfrmEvaluate::btnExportClick()
{
    const QString file = withSuffix(FileDialogs::saveFile(this, QStringLiteral("导出表格"),
                                                          m_actions->suggestedExportFile(),
                                                          QStringLiteral("表格 (*.csv)")),
                                    QStringLiteral("csv"));
    if (file.isEmpty())
        return;
    MessageBoxes::runShowingError(this, [this, &file] {
        {
            const BusyCursor busy;
            m_actions->exportAnswers(file);
        }
        MessageBoxes::showNotice(this, QMessageBox::Information,
                                 QStringLiteral("所有回答已导出到“%1”。").arg(shown(file)));
    });
}

void TfrmEvaluate::btnBackupClick()
{
    MessageBoxes::runShowingError(this, [this] {
        QString backup;
        {
            const BusyCursor busy;
            backup = m_actions->backUp();
        }
        MessageBoxes::showNotice(this, QMessageBox::Information,
                                 QStringLiteral("训练记录已备份到“%1”。").arg(shown(backup)));
    });
}

void TfrmEvaluate::btnRestoreClick()
{
    MessageBoxes::runShowingError(this, [this] {
        QList<BackupSummary> backups;
        {
            const BusyCursor busy;
            backups = m_actions->backups();
        }
        TfrmRestore choice(backups, m_actions->backupsFolder(), this);
        if (choice.exec() == QDialog::Accepted)
            restoreFrom(choice.chosenFile());
    });
}

// Once the history is replaced, this window's indices are those of the old
// one: it closes, and its opener shows the restored history's.
void TfrmEvaluate::restoreFrom(const QString &file)
{
    if (!MessageBoxes::confirmRestore(
            this, QStringLiteral("要用“%1”替换当前的训练记录吗？当前的记录会先保存为备份。").arg(shown(file))))
        return;
    RestoreOutcome outcome;
    {
        const BusyCursor busy;
        outcome = m_actions->restore(file);
    }
    QString text = QStringLiteral("已恢复“%1”。").arg(shown(file));
    if (!outcome.keptAs.isEmpty())
        text += QStringLiteral("原来的训练记录已保存为“%1”。").arg(shown(outcome.keptAs));
    MessageBoxes::showNotice(this, QMessageBox::Information, text);
    for (const QString &notice : outcome.notices)
        MessageBoxes::showNotice(this, QMessageBox::Warning, notice);
    done(Restored);
}
