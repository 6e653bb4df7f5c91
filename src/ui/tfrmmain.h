// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "training/trainingengine.h"
#include "training/trainingview.h"

#include <QHash>
#include <QMainWindow>
#include <QTimer>

#include <memory>

namespace Ui {
class TfrmMain;
}

class Database;
class Announcer;
class HistoryActions;

// The main window: the answer record, the question and score, the answer box and
// the command links. It shows what the training engine reports and turns the
// user's clicks and keys into engine commands; the evaluation window it opens
// reads the history from the same database as the engine.
class TfrmMain
    : public QMainWindow
    , public TrainingView
{
    Q_OBJECT

public:
    // Becomes the engine's view and starts it: the database is opened at once.
    TfrmMain(TrainingEngine &engine, Database &history, QWidget *parent = nullptr);
    ~TfrmMain() override;

    void AppendAnswerRecord(const QString &recordText, const QString &verdictText, Verdict verdict) override;
    void ShowScore(int score) override;
    void StartFlash(FlashColor color) override;
    void showQuestion(const QuestionText &question) override;
    void ResetTrainingView() override;

    // What the evaluation window does with the history (report, export, backup,
    // restore); without them, its history buttons are disabled.
    void setHistoryActions(HistoryActions *actions) { m_historyActions = actions; }

    // 0 while no flash runs, 1 to 6 while one does.
    int flashTick() const { return m_flashTick; }
    // Lines of the answer record that fit in the panes at once.
    int visibleRecordLines() const;
    // One tick of the flash timer; the timer calls it every 200 ms while a flash runs.
    void timerFlashTimer();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void showNotices(const QList<StartupNotice> &notices);
    void FormMouseMove(QObject *watched, const QPoint &position);
    void readAheadAtIdle();
    void checkHistory();
    void lblNewQuestionClick();
    void lblEvaluateClick();
    void lblClearDatabaseClick();
    void lblAboutClick();
    void lblQuitClick();
    void edAnswerKeyUp();
    void sbAnswerResultScroll(int position);
    void showRecordLinesUpTo(int lastLine);
    void announceVerdict(const QString &verdictText);
    void announceScore(int score);

    void setUpStatusHints();
    void setUpRecordPanes();
    void setUpAccessibleNames();
    void connectCommands();
    void setUpCommandKeys();
    bool isCommandKey(QKeyCombination key) const;
    void setPanelColor(const QColor &color);
    void watchAnswerKeys(QEvent *event);

    std::unique_ptr<Ui::TfrmMain> ui;
    TrainingEngine &m_engine;
    Database &m_history;
    HistoryActions *m_historyActions = nullptr;
    QTimer m_timerFlash;
    int m_flashTick = 0;
    QColor m_flashColor;
    int m_recordLines = 0;
    bool m_enterPressed = false;
    bool m_readAheadPlanned = false;
    // How the background check reaches this window: the window leaves it on
    // destruction, so a check that ends later posts nothing.
    struct CheckHandoff;
    std::shared_ptr<CheckHandoff> m_checkHandoff;
    QHash<QObject *, QString> m_statusHints;
    Announcer *m_announcer;
    int m_spokenScore = 0;
};
