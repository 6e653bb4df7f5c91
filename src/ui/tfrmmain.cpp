// SPDX-License-Identifier: GPL-3.0-or-later
#include "tfrmmain.h"
#include "ui_tfrmmain.h"

#include "aboutwindowopener.h"
#include "announcer.h"
#include "evaluate/evaluatewindowopener.h"
#include "gbkbytelimitvalidator.h"
#include "widgets/closebuttondialog.h"
#include "widgets/messageboxes.h"
#include "scoredisplay.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>

#include <algorithm>
#include <mutex>

namespace {

constexpr int answerByteLimit = 16;
constexpr int flashPeriodMs = 200;
constexpr int flashTicks = 6;
constexpr int recordLinesBeforeScrolling = 10;
constexpr int scoreBarLeft = 48;
constexpr int scoreLabelGap = 6;

// Record lines stand this many pixels apart, whatever the font's own line
// spacing: the panes' text area (209 pixels less the padding set in the form)
// holds exactly ten of them.
constexpr qreal recordLinePitch = 20;

// Adds one line in the given colour at the end of a record pane.
void appendLine(QTextEdit *pane, const QString &text, const QColor &color, bool firstLine)
{
    QTextCursor cursor(pane->document());
    cursor.movePosition(QTextCursor::End);
    if (!firstLine)
        cursor.insertBlock();
    QTextBlockFormat pitch;
    pitch.setLineHeight(recordLinePitch, QTextBlockFormat::FixedHeight);
    cursor.setBlockFormat(pitch);
    QTextCharFormat format;
    format.setForeground(color);
    cursor.insertText(text, format);
}

} // namespace

TfrmMain::TfrmMain(TrainingEngine &engine, Database &history, QWidget *parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TfrmMain>()),
      m_engine(engine),
      m_history(history),
      m_timerFlash(this),
      m_announcer(new Announcer(this))
{
    // Set before the controls are built: set afterwards, the flags would restyle them all.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    ui->setupUi(this);
    m_engine.setView(*this);
    setFixedSize(362, 474);
    ui->edAnswer->setValidator(new GbkByteLimitValidator(answerByteLimit, ui->edAnswer));
    ui->edAnswer->installEventFilter(this);
    ui->shpScore->setBrushColor(ui->Panel2->palette().color(QPalette::Window));
    ui->shpScore->setPenColor(ui->Panel2->palette().color(QPalette::Window));
    m_timerFlash.setObjectName(QStringLiteral("timerFlash"));
    m_timerFlash.setInterval(flashPeriodMs);
    setUpRecordPanes();
    setUpAccessibleNames();
    setUpStatusHints();
    connectCommands();
    setUpCommandKeys();
    if (const QScreen *screen = this->screen())
        centerWindowOn(*this, screen->availableGeometry().center());
    ui->edAnswer->setFocus();
    FormCreate();
}

struct TfrmMain::CheckHandoff
{
    std::mutex mutex;
    TfrmMain *window = nullptr;
};

TfrmMain::~TfrmMain()
{
    if (m_checkHandoff) {
        const std::lock_guard lock(m_checkHandoff->mutex);
        m_checkHandoff->window = nullptr;
    }
}

// What the start-up found (a read-only or damaged file, log files set aside) is
// told before the window is used.
void TfrmMain::FormCreate()
{
    MessageBoxes::runShowingError(this, [this] { showNotices(m_engine.start()); });
}

void TfrmMain::showNotices(const QList<StartupNotice> &notices)
{
    for (const StartupNotice &notice : notices) {
        MessageBoxes::showNotice(
            this, notice.kind == StartupNotice::Warning ? QMessageBox::Warning : QMessageBox::Information, notice.text);
    }
}

// The engine reads the whole file in the background, and what it finds (a
// damaged file) is told once it is done. The check's thread only posts; the
// window settles it on its own thread. A command that writes first waits for
// it and settles it itself.
void TfrmMain::checkHistory()
{
    m_checkHandoff = std::make_shared<CheckHandoff>();
    m_checkHandoff->window = this;
    m_engine.checkHistoryInBackground([handoff = m_checkHandoff] {
        const std::lock_guard lock(handoff->mutex);
        if (TfrmMain *window = handoff->window) {
            QMetaObject::invokeMethod(
                window,
                [window] {
                    MessageBoxes::runShowingError(window,
                                                  [window] { window->showNotices(window->m_engine.historyChecked()); });
                },
                Qt::QueuedConnection);
        }
    });
}

// Runs for every way of closing. A failure is shown, and the window closes all
// the same: a broken database must never keep the program from ending.
void TfrmMain::FormClose()
{
    MessageBoxes::runShowingError(this, [this] { m_engine.finish(); });
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

// Once the window has painted its first frame, the check of the whole file
// starts in the background, and the work that makes later commands fast is done
// as soon as the program is idle, so that neither the first frame nor a
// command waits for it.
bool TfrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_readAheadPlanned) {
        m_readAheadPlanned = true;
        QTimer::singleShot(0, this, &TfrmMain::readAheadAtIdle);
    }
    return QMainWindow::event(event);
}

// Each part on an idle moment of its own; what fails is left for the command
// that needs it, which reports it.
void TfrmMain::readAheadAtIdle()
{
    checkHistory();
    m_engine.readAhead();
    QTimer::singleShot(0, this, [this] { readAheadEvaluation(m_history); });
}

void TfrmMain::connectCommands()
{
    connect(ui->lblNewQuestion, &CommandLink::clicked, this, &TfrmMain::lblNewQuestionClick);
    connect(ui->lblEvaluate, &CommandLink::clicked, this, &TfrmMain::lblEvaluateClick);
    connect(ui->lblClearDatabase, &CommandLink::clicked, this, &TfrmMain::lblClearDatabaseClick);
    connect(ui->lblAbout, &CommandLink::clicked, this, &TfrmMain::lblAboutClick);
    connect(ui->lblQuit, &CommandLink::clicked, this, &TfrmMain::lblQuitClick);
    connect(ui->sbAnswerResult, &QScrollBar::valueChanged, this, &TfrmMain::sbAnswerResultScroll);
    connect(&m_timerFlash, &QTimer::timeout, this, &TfrmMain::timerFlashTimer);
}

// Every command has a key as well; it does what a click on its link does.
void TfrmMain::setUpCommandKeys()
{
    ui->lblNewQuestion->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    ui->lblEvaluate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    ui->lblClearDatabase->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
    ui->lblAbout->setShortcut(QKeySequence(Qt::Key_F1));
    ui->lblQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

bool TfrmMain::isCommandKey(QKeyCombination key) const
{
    const QKeySequence pressed(QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key()));
    const QList<CommandLink *> links = findChildren<CommandLink *>();
    return std::any_of(links.cbegin(), links.cend(),
                       [&pressed](const CommandLink *link) { return link->shortcut() == pressed; });
}

void TfrmMain::lblNewQuestionClick()
{
    if (MessageBoxes::confirmNewQuestion(this))
        MessageBoxes::runShowingError(this, [this] { m_engine.startNewQuestion(); });
}

void TfrmMain::lblEvaluateClick()
{
    MessageBoxes::runShowingError(this, [this] { openEvaluateWindow(m_history, this, m_historyActions); });
}

void TfrmMain::lblClearDatabaseClick()
{
    if (MessageBoxes::confirmClearAll(this))
        MessageBoxes::runShowingError(this, [this] { m_engine.clearAllRecords(); });
}

void TfrmMain::lblAboutClick()
{
    MessageBoxes::runShowingError(this, [this] { openAboutWindow(this); });
}

void TfrmMain::lblQuitClick()
{
    close();
}

// Answers are submitted by a plain Enter released in the answer box. The Enter
// with which an input method commits its composition reaches the box as an input
// method event, not as a key press, and so submits nothing.
void TfrmMain::watchAnswerKeys(QEvent *event)
{
    if (event->type() == QEvent::InputMethod) {
        m_enterPressed = false;
        return;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat())
        return;
    if (event->type() == QEvent::KeyPress) {
        m_enterPressed = true;
    } else if (m_enterPressed) {
        m_enterPressed = false;
        edAnswerKeyUp();
    }
}

void TfrmMain::edAnswerKeyUp()
{
    MessageBoxes::runShowingError(this, [this] {
        if (m_engine.submitAnswer(ui->edAnswer->text()))
            ui->edAnswer->clear();
    });
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    // The answer box claims some command keys for editing (Ctrl+E moves to the end
    // of the line on X11); the commands come first.
    if (watched == ui->edAnswer && event->type() == QEvent::ShortcutOverride
        && isCommandKey(static_cast<QKeyEvent *>(event)->keyCombination()))
        return true;
    if (watched == ui->edAnswer)
        watchAnswerKeys(event);
    if (event->type() == QEvent::MouseMove)
        FormMouseMove(watched, static_cast<QMouseEvent *>(event)->position().toPoint());
    return QMainWindow::eventFilter(watched, event);
}

// Status hints: the links, the answer box and the score each set their own text;
// only the window's bare background clears it. Everything else keeps the last text.
void TfrmMain::setUpStatusHints()
{
    const QString scoreHint = QStringLiteral("当前问题的得分。0-60为差，61-80为良好，>80为优秀。");
    m_statusHints = {
        {ui->lblNewQuestion, QStringLiteral("开始新的问题。")},
        {ui->lblEvaluate, QStringLiteral("对当前问题的回答做出评估分析。")},
        {ui->lblClearDatabase, QStringLiteral("清除所有问题及回答记录。")},
        {ui->lblAbout, QStringLiteral("关于本软件工具的说明。")},
        {ui->lblQuit, QStringLiteral("退出运行。")},
        {ui->edAnswer, QStringLiteral("请根据问题，输入有意义的词并回车。")},
        {ui->shpScore, scoreHint},
        {ui->lblScore, scoreHint},
    };
    for (auto it = m_statusHints.cbegin(); it != m_statusHints.cend(); ++it) {
        auto *widget = static_cast<QWidget *>(it.key());
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    ui->centralwidget->setMouseTracking(true);
    ui->centralwidget->installEventFilter(this);
}

void TfrmMain::FormMouseMove(QObject *watched, const QPoint &position)
{
    if (const auto hint = m_statusHints.constFind(watched); hint != m_statusHints.cend())
        ui->StatusBar1->showMessage(*hint);
    else if (watched == ui->centralwidget && !ui->centralwidget->childAt(position))
        ui->StatusBar1->clearMessage();
}

void TfrmMain::setUpRecordPanes()
{
    for (QTextEdit *pane : {ui->reAnswerResult, ui->reAnswerGrade}) {
        pane->setAttribute(Qt::WA_TransparentForMouseEvents);
        pane->viewport()->setAttribute(Qt::WA_TransparentForMouseEvents);
        pane->setUndoRedoEnabled(false);
        pane->document()->setDocumentMargin(0);
    }
    ui->reQuestion->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->reQuestion->document()->setDocumentMargin(2);
}

// Names for screen readers, which see none of the captions beside the boxes.
void TfrmMain::setUpAccessibleNames()
{
    ui->edAnswer->setAccessibleName(QStringLiteral("回答"));
    ui->edAnswer->setAccessibleDescription(ui->edAnswer->toolTip());
    ui->reAnswerResult->setAccessibleName(QStringLiteral("回答记录"));
    ui->reAnswerGrade->setAccessibleName(QStringLiteral("答案评价"));
    ui->reQuestion->setAccessibleName(QStringLiteral("问题"));
    ui->lblScore->setAccessibleName(QStringLiteral("分数"));
    ui->sbAnswerResult->setAccessibleName(QStringLiteral("回答记录滚动条"));
}

int TfrmMain::visibleRecordLines() const
{
    return std::max(1, int(ui->reAnswerResult->viewport()->height() / recordLinePitch));
}

void TfrmMain::AppendAnswerRecord(const QString &recordText, const QString &verdictText, Verdict verdict)
{
    const bool firstLine = m_recordLines == 0;
    appendLine(ui->reAnswerResult, recordText, palette().color(QPalette::Text), firstLine);
    appendLine(ui->reAnswerGrade, verdictText, verdictColor(verdict), firstLine);
    announceVerdict(verdictText);
    ++m_recordLines;
    showRecordLinesUpTo(m_recordLines);
    if (m_recordLines > recordLinesBeforeScrolling) {
        ui->sbAnswerResult->setEnabled(true);
        ui->sbAnswerResult->setMaximum(m_recordLines);
        ui->sbAnswerResult->setValue(m_recordLines);
    }
}

// Position p of the scroll bar puts record line p at the bottom of both panes,
// whatever the size of the step that led there.
void TfrmMain::sbAnswerResultScroll(int position)
{
    showRecordLinesUpTo(position);
}

// Scrolls both panes so that record line `lastLine` (1-based) is their bottom
// line, or, for the first lines, so that they show the record from its start.
void TfrmMain::showRecordLinesUpTo(int lastLine)
{
    const int top = int(firstVisibleLine(lastLine, visibleRecordLines()) * recordLinePitch);
    for (QTextEdit *pane : {ui->reAnswerResult, ui->reAnswerGrade}) {
        pane->document()->documentLayout()->documentSize(); // lays out lines just added
        pane->verticalScrollBar()->setValue(top);
    }
}

void TfrmMain::ShowScore(int score)
{
    const int width = scoreBarWidth(score);
    const ScoreBand band = scoreBandFor(score);
    ui->shpScore->resize(width, ui->shpScore->height());
    ui->shpScore->setBrushColor(band.color);
    ui->lblScore->setText(scoreLabelText(score));
    ui->lblScore->setAccessibleDescription(ui->lblScore->text());
    ui->lblScore->adjustSize();
    ui->lblScore->move(scoreBarLeft + width + scoreLabelGap, ui->lblScore->y());
    QPalette labelPalette = ui->lblScore->palette();
    labelPalette.setColor(QPalette::WindowText, band.color);
    ui->lblScore->setPalette(labelPalette);
    announceScore(score);
}

// A score is spoken when an answer changes it; the 0 of a new question is not,
// as the question itself is spoken then.
void TfrmMain::announceScore(int score)
{
    if (score != 0 && score != m_spokenScore)
        m_announcer->announce(QStringLiteral("%1 %2").arg(ui->lblScore->accessibleName(), scoreLabelText(score)));
    m_spokenScore = score;
}

void TfrmMain::showQuestion(const QuestionText &question)
{
    QTextEdit *box = ui->reQuestion;
    box->clear();
    QTextCursor cursor(box->document());
    QTextCharFormat plain;
    plain.setForeground(QColor(0, 0, 255));
    QTextCharFormat highlighted;
    highlighted.setForeground(QColor(255, 0, 0));
    highlighted.setFontWeight(QFont::Bold);
    cursor.insertText(question.before, plain);
    cursor.insertText(question.word, highlighted);
    cursor.insertText(question.after, plain);
    m_announcer->announce(box->toPlainText());
}

// Each verdict is spoken as a notification (with the score it raised), and becomes the description of the
// answer box, which keeps the focus, for a screen reader that reads it there. Qt
// tells them of a change of the text only; the same phrase twice in a row is
// told here as well.
void TfrmMain::announceVerdict(const QString &verdictText)
{
    m_announcer->announce(verdictText);
    if (ui->edAnswer->accessibleDescription() != verdictText) {
        ui->edAnswer->setAccessibleDescription(verdictText);
        return;
    }
    QAccessibleEvent unchanged(ui->edAnswer, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&unchanged);
}

void TfrmMain::ResetTrainingView()
{
    ui->reAnswerResult->clear();
    ui->reAnswerGrade->clear();
    m_recordLines = 0;
    ui->reQuestion->clear();
    ui->edAnswer->clear();
    const QColor background = ui->Panel2->palette().color(QPalette::Window);
    ui->shpScore->resize(2, ui->shpScore->height());
    ui->shpScore->setBrushColor(background);
    ui->shpScore->setPenColor(background);
    ui->lblScore->clear();
    ui->lblScore->setAccessibleDescription(QString());
    m_spokenScore = 0;
    ui->edAnswer->setAccessibleDescription(ui->edAnswer->toolTip());
}

void TfrmMain::setPanelColor(const QColor &color)
{
    QPalette panelPalette = ui->pAnswerResult->palette();
    panelPalette.setColor(QPalette::Window, color);
    ui->pAnswerResult->setPalette(panelPalette);
}

// Three flashes: the flash colour at ticks 1, 3 and 5, the normal background at 2,
// 4 and 6, then the timer stops. A flash started while one runs begins again at
// tick 1 without restarting the timer.
void TfrmMain::StartFlash(FlashColor color)
{
    m_flashColor = flashColorValue(color);
    setPanelColor(m_flashColor);
    m_flashTick = 1;
    if (!m_timerFlash.isActive())
        m_timerFlash.start();
}

void TfrmMain::timerFlashTimer()
{
    ++m_flashTick;
    if (m_flashTick > flashTicks) {
        m_timerFlash.stop();
        m_flashTick = 0;
    } else if (m_flashTick % 2 == 0) {
        setPanelColor(palette().color(QPalette::Window));
    } else {
        setPanelColor(m_flashColor);
    }
}
