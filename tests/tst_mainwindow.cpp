// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgettestmain.h"
#include "databasefixture.h"
#include "temporaryhome.h"
#include "testablemainwindow.h"

#include "app/application.h"
#include "store/location.h"
#include "store/sessioncache.h"
#include "store/statements.h"
#include "ui/announcer.h"
#include "ui/gbkbytelimitvalidator.h"
#include "widgets/messageboxes.h"
#include "ui/scoredisplay.h"
#include "ui/scoreshape.h"
#include "ui/tfrmmain.h"

#include <QAbstractTextDocumentLayout>
#include <QSqlQuery>
#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include <functional>

// The main window on the offscreen platform, driven through its real widgets.
class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowFrame();
    void readsAheadOnceShown();
    void controlLayout_data();
    void controlLayout();
    void onlyTheAnswerBoxHasATooltip();
    void tabReachesTheScrollBarOnceEnabled();
    void linksTurnRedUnderTheMouse();
    void statusHints();
    void flashSequence();
    void flashRestartsMidway();
    void recordColours();
    void scrollBarStatesAndPaneAgreement();
    void scoreDisplay_data();
    void scoreDisplay();
    void resetEmptiesTheDisplay();
    void answerBoxByteLimit_data();
    void answerBoxByteLimit();
    void fullTrainingLoop();
    void inputMethodCommitDoesNotSubmit();
    void commandKeys_data();
    void commandKeys();
    void screenReaderView_data();
    void screenReaderView();
    void verdictsAreAnnounced_data();
    void verdictsAreAnnounced();
    void questionsAndScoresAreSpoken_data();
    void questionsAndScoresAreSpoken();
    void announcementsJoin_data();
    void announcementsJoin();
    void cancelledCommandsChangeNothing();
    void clearCommand();
    void evaluateAndAboutOpenModallyAndAreFreed();
    void closingWithoutAQuestionTouchesNoTable();
    void closingDiscardsAnUnansweredQuestion();
    void closingWithABrokenDatabaseStillCloses();
    void startupErrorIsShownAndTheWindowStillOpens();
    void startupNoticesAreShown_data();
    void startupNoticesAreShown();
    void damageFoundInTheBackgroundIsTold();

private:
    template<typename T>
    T *child(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1StringView(name));
    }
    void submit(const QString &text);
    QString outcomeOf(const std::function<void()> &action);
    void startQuestion();

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<TestableMainWindow> m_main;
    TfrmMain *m_window = nullptr;
};

void MainWindowTest::initTestCase()
{
    configureApplication(*qApp);
    MessageBoxes::scriptAnswers({});
}

void MainWindowTest::init()
{
    m_home = std::make_unique<TemporaryHome>();
    MessageBoxes::clearShownTexts();
    m_main = std::make_unique<TestableMainWindow>();
    m_window = &m_main->window;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void MainWindowTest::cleanup()
{
    m_main.reset();
    m_home.reset();
}

void MainWindowTest::submit(const QString &text)
{
    auto *box = child<QLineEdit>("edAnswer");
    box->setText(text);
    QTest::keyClick(box, Qt::Key_Return);
}

void MainWindowTest::startQuestion()
{
    MessageBoxes::scriptAnswers({QMessageBox::Yes});
    QTest::mouseClick(child<QWidget>("lblNewQuestion"), Qt::LeftButton);
}

// After its first frame, the window has the word ids and the history's sums read
// while idle, so that neither a new question nor the evaluation reads the file
// for them.
void MainWindowTest::readsAheadOnceShown()
{
    const SessionCache &cache = m_main->database.statements().cache();
    QTRY_VERIFY_WITH_TIMEOUT(cache.wordIds().has_value() && cache.sums().has_value(), 60000);
}

void MainWindowTest::windowFrame()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Zorvel"));
    // Every title reads exactly as given: the program sets no display name, which
    // X11 would append to each of them; the display name follows the name.
    QCoreApplication::setApplicationName(QStringLiteral("Zorvel check"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Zorvel check"));
    QCoreApplication::setApplicationName(QStringLiteral("Zorvel"));
    QCOMPARE(m_window->size(), QSize(362, 474));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(child<QStatusBar>("StatusBar1")->geometry(), QRect(0, 449, 362, 25));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("edAnswer"));
    QCOMPARE(m_main->engine.state().questionId, 0);
    QVERIFY(MessageBoxes::shownTexts().isEmpty());
}

void MainWindowTest::controlLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, QRect geometry, const char *text = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << geometry << QString::fromUtf8(text);
    };
    row("pAnswerResult", {8, 8, 345, 249});
    row("Label6", {16, 16, 70, 14}, "回答记录：");
    row("reAnswerResult", {16, 40, 145, 209});
    row("reAnswerGrade", {160, 40, 177, 209});
    row("sbAnswerResult", {322, 40, 20, 209});
    row("Panel2", {8, 264, 345, 73});
    row("Label1", {16, 280, 42, 14}, "问题：");
    row("reQuestion", {56, 275, 289, 25});
    row("Label7", {16, 312, 42, 14}, "分数：");
    row("shpScore", {56, 312, 9, 17});
    row("Panel3", {8, 344, 345, 65});
    row("Label2", {16, 360, 42, 14}, "回答：");
    row("edAnswer", {56, 355, 289, 22});
    row("Label4", {17, 387, 322, 14}, "请认真回答，按问题输入有意义的词或句子，并回车");
    row("lblNewQuestion", {8, 424, 70, 14}, "开始新问题");
    row("lblEvaluate", {90, 424, 28, 14}, "评价");
    row("lblClearDatabase", {133, 424, 28, 14}, "清空");
    row("lblAbout", {176, 424, 28, 14}, "说明");
    row("lblQuit", {320, 424, 28, 14}, "关闭");
}

void MainWindowTest::controlLayout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    auto *widget = m_window->findChild<QWidget *>(name);
    QVERIFY(widget);
    const QPoint topLeft = widget->mapTo(m_window->centralWidget(), QPoint(0, 0));
    QCOMPARE(QRect(topLeft, widget->size()), geometry);
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    if (qobject_cast<QLabel *>(widget) || qobject_cast<QLineEdit *>(widget)) {
        QCOMPARE(widget->font().pixelSize(), 14);
#ifndef Q_OS_WIN // SimSun itself on Windows, a CJK face in its place elsewhere
        QVERIFY(QFontInfo(widget->font()).family().contains(QStringLiteral("CJK")));
#endif
    }
}

void MainWindowTest::onlyTheAnswerBoxHasATooltip()
{
    const QList<QWidget *> widgets = m_window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (widget->objectName() == QStringLiteral("edAnswer"))
            QCOMPARE(widget->toolTip(), QStringLiteral("请根据问题，输入有意义的词并回车。"));
        else
            QVERIFY2(widget->toolTip().isEmpty(), qPrintable(widget->objectName()));
    }
}

void MainWindowTest::tabReachesTheScrollBarOnceEnabled()
{
    auto *box = child<QWidget>("edAnswer");
    auto *bar = child<QScrollBar>("sbAnswerResult");
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box);
    for (int i = 1; i <= 12; ++i)
        m_window->AppendAnswerRecord(QString::number(i), QString::number(i), Verdict::Accepted);
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), bar);
    QTest::keyClick(bar, Qt::Key_Up);
    QCOMPARE(bar->value(), 11);
    QTest::keyClick(bar, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box);
}

void MainWindowTest::linksTurnRedUnderTheMouse()
{
    for (const char *name : {"lblNewQuestion", "lblEvaluate", "lblClearDatabase", "lblAbout", "lblQuit"}) {
        auto *link = child<QLabel>(name);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(link, &enter);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
}

void MainWindowTest::statusHints()
{
    auto *status = child<QStatusBar>("StatusBar1");
    const auto moveOver = [](QWidget *widget, QPoint position) {
        QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    };
    const QString scoreHint = QStringLiteral("当前问题的得分。0-60为差，61-80为良好，>80为优秀。");
    const QList<std::pair<const char *, QString>> hints{
        {"lblNewQuestion", QStringLiteral("开始新的问题。")},
        {"lblEvaluate", QStringLiteral("对当前问题的回答做出评估分析。")},
        {"lblClearDatabase", QStringLiteral("清除所有问题及回答记录。")},
        {"lblAbout", QStringLiteral("关于本软件工具的说明。")},
        {"lblQuit", QStringLiteral("退出运行。")},
        {"edAnswer", QStringLiteral("请根据问题，输入有意义的词并回车。")},
        {"shpScore", scoreHint},
        {"lblScore", scoreHint},
    };
    for (const auto &[name, hint] : hints) {
        moveOver(child<QWidget>(name), QPoint(1, 1));
        QCOMPARE(status->currentMessage(), hint);
    }
    // Over a panel, a fixed label or a record pane the last hint stays.
    QWidget *central = m_window->centralWidget();
    moveOver(central, QPoint(100, 100));
    moveOver(child<QWidget>("Label4"), QPoint(3, 3));
    QCOMPARE(status->currentMessage(), scoreHint);
    // The bare background between the links clears it.
    moveOver(central, QPoint(250, 430));
    QCOMPARE(status->currentMessage(), QString());
}

void MainWindowTest::flashSequence()
{
    auto *panel = child<QWidget>("pAnswerResult");
    const QColor face = m_window->palette().color(QPalette::Window);
    const QColor lime(0, 255, 0);
    const QColor paneBase = child<QWidget>("reAnswerResult")->palette().color(QPalette::Base);
    m_window->StartFlash(FlashColor::Lime);
    QCOMPARE(m_window->flashTick(), 1);
    QCOMPARE(panel->palette().color(QPalette::Window), lime);
    const QList<QColor> expected{face, lime, face, lime, face};
    for (int tick = 2; tick <= 6; ++tick) {
        m_window->timerFlashTimer();
        QCOMPARE(m_window->flashTick(), tick);
        QCOMPARE(panel->palette().color(QPalette::Window), expected[tick - 2]);
        QCOMPARE(child<QWidget>("reAnswerResult")->palette().color(QPalette::Base), paneBase);
    }
    m_window->timerFlashTimer();
    QCOMPARE(m_window->flashTick(), 0);
    QCOMPARE(panel->palette().color(QPalette::Window), face);
    // The panel's caption takes the panel's background.
    QVERIFY(!child<QWidget>("Label6")->autoFillBackground());
}

void MainWindowTest::flashRestartsMidway()
{
    auto *panel = child<QWidget>("pAnswerResult");
    const QColor red(255, 0, 0);
    m_window->StartFlash(FlashColor::Lime);
    m_window->timerFlashTimer();
    m_window->timerFlashTimer();
    m_window->StartFlash(FlashColor::Red);
    QCOMPARE(m_window->flashTick(), 1);
    QCOMPARE(panel->palette().color(QPalette::Window), red);
    m_window->timerFlashTimer();
    m_window->timerFlashTimer();
    QCOMPARE(panel->palette().color(QPalette::Window), red);
    // The real timer ends the sequence on its own, in the normal colour.
    QTRY_COMPARE_WITH_TIMEOUT(m_window->flashTick(), 0, 60000);
    QCOMPARE(panel->palette().color(QPalette::Window), m_window->palette().color(QPalette::Window));
}

void MainWindowTest::recordColours()
{
    const QList<std::pair<Verdict, QColor>> verdicts{{Verdict::Accepted, QColor(0, 128, 0)},
                                                     {Verdict::Invalid, QColor(128, 0, 0)},
                                                     {Verdict::Repeated, QColor(0, 0, 255)},
                                                     {Verdict::Persistent, QColor(255, 0, 0)},
                                                     {Verdict::TooFast, QColor(255, 0, 0)}};
    for (const auto &[verdict, colour] : verdicts)
        m_window->AppendAnswerRecord(QStringLiteral("答"), QStringLiteral("评语"), verdict);
    m_window->AppendAnswerRecord(QString(), QString(), Verdict::Accepted);
    auto *left = child<QTextEdit>("reAnswerResult");
    auto *right = child<QTextEdit>("reAnswerGrade");
    QCOMPARE(left->document()->blockCount(), 6);
    QCOMPARE(right->document()->blockCount(), 6);
    for (int i = 0; i < verdicts.size(); ++i) {
        const QTextBlock rightLine = right->document()->findBlockByNumber(i);
        QCOMPARE(rightLine.text(), QStringLiteral("评语"));
        QCOMPARE(rightLine.begin().fragment().charFormat().foreground().color(), verdicts[i].second);
        const QTextBlock leftLine = left->document()->findBlockByNumber(i);
        QCOMPARE(leftLine.begin().fragment().charFormat().foreground().color(), left->palette().color(QPalette::Text));
    }
}

namespace {

// The numbers (1-based) of the record lines a pane shows, in whole or in part.
// A line reaches down to where the next one begins.
QList<int> shownLines(const QTextEdit *pane, bool wholeOnly)
{
    QList<int> lines;
    const int scrolled = pane->verticalScrollBar()->value();
    const int height = pane->viewport()->height();
    const QAbstractTextDocumentLayout *layout = pane->document()->documentLayout();
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
        const qreal top = layout->blockBoundingRect(block).top() - scrolled;
        const qreal bottom = (block.next().isValid() ? layout->blockBoundingRect(block.next()).top()
                                                     : layout->documentSize().height())
            - scrolled;
        const bool whole = top >= 0 && bottom <= height;
        if (whole || (!wholeOnly && bottom > 0 && top < height))
            lines.append(block.blockNumber() + 1);
    }
    return lines;
}

QList<int> lineRange(int first, int last)
{
    QList<int> lines;
    for (int line = first; line <= last; ++line)
        lines.append(line);
    return lines;
}

} // namespace

void MainWindowTest::scrollBarStatesAndPaneAgreement()
{
    auto *bar = child<QScrollBar>("sbAnswerResult");
    auto *left = child<QTextEdit>("reAnswerResult");
    auto *right = child<QTextEdit>("reAnswerGrade");
    // Both panes show the same lines, each line whole.
    const auto shown = [&] {
        const QList<int> lines = shownLines(left, false);
        return lines == shownLines(left, true) && lines == shownLines(right, false) && lines == shownLines(right, true)
            ? lines
            : QList<int>{-1};
    };
    QVERIFY(!bar->isEnabled());
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(m_window->visibleRecordLines(), 10);
    for (int i = 1; i <= 10; ++i) {
        m_window->AppendAnswerRecord(QString::number(i), QString::number(i), Verdict::Accepted);
        QCOMPARE(shown(), lineRange(1, i));
    }
    QVERIFY(!bar->isEnabled());
    QCOMPARE(bar->value(), 0);
    m_window->AppendAnswerRecord(QStringLiteral("11"), QStringLiteral("11"), Verdict::Accepted);
    QVERIFY(bar->isEnabled());
    QCOMPARE(bar->maximum(), 11);
    QCOMPARE(bar->value(), 11);
    QCOMPARE(shown(), lineRange(2, 11));
    for (int i = 12; i <= 30; ++i)
        m_window->AppendAnswerRecord(QString::number(i), QString::number(i), Verdict::Accepted);
    QCOMPARE(bar->maximum(), 30);
    QCOMPARE(bar->value(), 30);
    QCOMPARE(shown(), lineRange(21, 30));

    // Steps of every size, up and down: line p stands at the bottom of both panes,
    // and the positions up to 10 show the first ten lines.
    for (int position : {29, 28, 20, 13, 12, 11, 10, 3, 0, 15, 16, 30, 1}) {
        if (position == 0)
            QTest::keyClick(bar, Qt::Key_Home);
        else
            bar->setValue(position);
        const int p = bar->value();
        QCOMPARE(p, position);
        QCOMPARE(shown(), lineRange(std::max(1, p - 9), std::max(p, 10)));
    }
    m_window->AppendAnswerRecord(QStringLiteral("31"), QStringLiteral("31"), Verdict::Invalid);
    QCOMPARE(bar->value(), 31);
    QCOMPARE(shown(), lineRange(22, 31));
    // A long record is laid out in full before the panes scroll to its end.
    for (int i = 32; i <= 400; ++i)
        m_window->AppendAnswerRecord(QString::number(i), QString::number(i), Verdict::Accepted);
    QCOMPARE(shown(), lineRange(391, 400));
    QTest::keyClick(bar, Qt::Key_Home);
    QCOMPARE(shown(), lineRange(1, 10));
}

void MainWindowTest::scoreDisplay_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("width");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("text");
    const QColor red(255, 0, 0), fuchsia(255, 0, 255), lime(0, 255, 0);
    QTest::newRow("0") << 0 << 0 << red << QStringLiteral("0 差");
    QTest::newRow("45") << 45 << 99 << red << QStringLiteral("45 差");
    QTest::newRow("59") << 59 << 129 << red << QStringLiteral("59 差");
    QTest::newRow("60") << 60 << 132 << fuchsia << QStringLiteral("60 良好");
    QTest::newRow("79") << 79 << 173 << fuchsia << QStringLiteral("79 良好");
    QTest::newRow("80") << 80 << 176 << fuchsia << QStringLiteral("80 良好");
    QTest::newRow("81") << 81 << 178 << lime << QStringLiteral("81 优秀");
    QTest::newRow("100") << 100 << 220 << lime << QStringLiteral("100 优秀");
}

void MainWindowTest::scoreDisplay()
{
    QFETCH(int, score);
    QFETCH(int, width);
    QFETCH(QColor, colour);
    QFETCH(QString, text);
    QCOMPARE(scoreBarWidth(score), width);
    m_window->ShowScore(score);
    auto *bar = child<ScoreShape>("shpScore");
    auto *label = child<QLabel>("lblScore");
    QCOMPARE(bar->geometry(), QRect(48, 48, width, 17));
    QCOMPARE(bar->brushColor(), colour);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->pos(), QPoint(54 + width, 50));
    QCOMPARE(label->width(), label->sizeHint().width());
    QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    QVERIFY(label->font().bold());
}

void MainWindowTest::resetEmptiesTheDisplay()
{
    startQuestion();
    for (int i = 0; i < 12; ++i)
        m_window->AppendAnswerRecord(QStringLiteral("答"), QStringLiteral("好"), Verdict::Accepted);
    m_window->ShowScore(45);
    child<QLineEdit>("edAnswer")->setText(QStringLiteral("未完"));
    m_window->ResetTrainingView();
    QVERIFY(child<QTextEdit>("reAnswerResult")->toPlainText().isEmpty());
    QVERIFY(child<QTextEdit>("reAnswerGrade")->toPlainText().isEmpty());
    QVERIFY(child<QTextEdit>("reQuestion")->toPlainText().isEmpty());
    QVERIFY(child<QLineEdit>("edAnswer")->text().isEmpty());
    QVERIFY(child<QLabel>("lblScore")->text().isEmpty());
    auto *bar = child<ScoreShape>("shpScore");
    const QColor panel = child<QWidget>("Panel2")->palette().color(QPalette::Window);
    QCOMPARE(bar->width(), 2);
    QCOMPARE(bar->brushColor(), panel);
    QCOMPARE(bar->penColor(), panel);
    // The scroll bar keeps its state until the next append sets it again.
    auto *scroll = child<QScrollBar>("sbAnswerResult");
    QVERIFY(scroll->isEnabled());
    QCOMPARE(scroll->maximum(), 12);
}

void MainWindowTest::answerBoxByteLimit_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("8 Chinese characters fit")
        << QString() << QStringLiteral("一二三四五六七八") << QStringLiteral("一二三四五六七八");
    QTest::newRow("a ninth is refused") << QStringLiteral("一二三四五六七八") << QStringLiteral("九")
                                        << QStringLiteral("一二三四五六七八");
    QTest::newRow("16 ASCII fit, 17th refused")
        << QString() << QStringLiteral("abcdefghijklmnopq") << QStringLiteral("abcdefghijklmnop");
    QTest::newRow("a byte left is not enough for a Chinese character")
        << QStringLiteral("abcdefghijklmno") << QStringLiteral("字") << QStringLiteral("abcdefghijklmno");
    QTest::newRow("unencodable characters count one byte")
        << QString() << QStringLiteral("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀") << QStringLiteral("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀");
    QTest::newRow("invisible characters count one byte")
        << QString() << QStringLiteral("中") + QString(60, QChar(0x200B))
        << QStringLiteral("中") + QString(14, QChar(0x200B));
}

void MainWindowTest::answerBoxByteLimit()
{
    QFETCH(QString, initial);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    auto *box = child<QLineEdit>("edAnswer");
    box->setText(initial);
    box->end(false);
    // insert() goes through the validator just as typing and pasting do.
    box->insert(typed);
    QCOMPARE(box->text(), expected);
}

void MainWindowTest::fullTrainingLoop()
{
    startQuestion();
    const TrainingState &state = m_main->engine.state();
    QVERIFY(state.questionId > 0);
    QVERIFY(!child<QTextEdit>("reQuestion")->toPlainText().isEmpty());
    QCOMPARE(child<QLabel>("lblScore")->text(), QStringLiteral("0 差"));

    auto *box = child<QLineEdit>("edAnswer");
    // Chinese text arrives from an input method; then a plain Enter submits it.
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("桌子"));
    QApplication::sendEvent(box, &typed);
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(box->text().isEmpty());
    QCOMPARE(child<QTextEdit>("reAnswerResult")->toPlainText(), QStringLiteral("桌子"));
    QCOMPARE(child<QLabel>("lblScore")->text(), QStringLiteral("3 差"));
    QCOMPARE(child<QWidget>("pAnswerResult")->palette().color(QPalette::Window), QColor(0, 255, 0));

    submit(QStringLiteral("椅子")); // at once: too fast
    QCOMPARE(child<QTextEdit>("reAnswerResult")->document()->lastBlock().text(), QStringLiteral("-"));
    QCOMPARE(child<QTextEdit>("reAnswerGrade")->document()->lastBlock().text(), QStringLiteral("不能输入的太快！"));
    m_main->clock.advance(3);
    submit(QStringLiteral("  "));
    QCOMPARE(box->text(), QStringLiteral("  ")); // blank input stays in the box
    submit(QStringLiteral("椅子"));
    QCOMPARE(state.answerCount, 2);
    QCOMPARE(child<QLabel>("lblScore")->text(), QStringLiteral("6 差"));

    Database check(QStringLiteral("check"));
    OpenDatabase(check);
    QCOMPARE(DatabaseFixture::count(check, QStringLiteral("hd"), QStringLiteral("wtid = ?"), {state.questionId}), 2);
    QCOMPARE(check.statements().scalar(QStringLiteral("SELECT score FROM wt WHERE id = ?"), {state.questionId}).toInt(),
             6);
}

void MainWindowTest::inputMethodCommitDoesNotSubmit()
{
    startQuestion();
    auto *box = child<QLineEdit>("edAnswer");
    // An input method commits its composition with Enter: the box gets the text
    // as an input method event, and only the key release of that Enter.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("桌子"));
    QApplication::sendEvent(box, &commit);
    QTest::keyRelease(box, Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("桌子"));
    QVERIFY(m_main->engine.state().givenAnswers.isEmpty());
    // A plain Enter afterwards submits.
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(m_main->engine.state().givenAnswers.size(), 1);
}

// What a command showed: the texts of its message boxes, the title of the window
// it opened, or that it closed the main window.
QString MainWindowTest::outcomeOf(const std::function<void()> &action)
{
    MessageBoxes::scriptAnswers({});
    MessageBoxes::clearShownTexts();
    QString opened;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&opened] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            opened = dialog->windowTitle();
            dialog->close();
        }
    });
    watcher.start(0);
    action();
    QStringList outcome = MessageBoxes::shownTexts();
    if (!opened.isEmpty())
        outcome.append(QStringLiteral("window ") + opened);
    if (!m_window->isVisible())
        outcome.append(QStringLiteral("closed"));
    return outcome.join(QLatin1Char('|'));
}

// The keys work on the focused answer box, which keeps its own editing keys; each
// command key does what a click on its link does.
void MainWindowTest::commandKeys_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    const QString typed = QStringLiteral("桌子");
    QTest::newRow("Ctrl+N") << QKeySequence(Qt::CTRL | Qt::Key_N) << QStringLiteral("lblNewQuestion")
                            << QStringLiteral("是否要开始新问题？") << typed << 1;
    QTest::newRow("Ctrl+E") << QKeySequence(Qt::CTRL | Qt::Key_E) << QStringLiteral("lblEvaluate")
                            << QStringLiteral("window 评价") << typed << 1;
    QTest::newRow("Ctrl+Shift+Delete") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete)
                                       << QStringLiteral("lblClearDatabase")
                                       << QStringLiteral("清空将会删除以前所有的问题及回答记录。是否要继续？") << typed
                                       << 1;
    QTest::newRow("F1") << QKeySequence(Qt::Key_F1) << QStringLiteral("lblAbout") << QStringLiteral("window 说明")
                        << typed << 1;
    QTest::newRow("Ctrl+Q") << QKeySequence(Qt::CTRL | Qt::Key_Q) << QStringLiteral("lblQuit")
                            << QStringLiteral("closed") << typed << 1;
    QTest::newRow("End stays with the box") << QKeySequence(Qt::Key_End) << QString() << QString() << typed << 2;
    QTest::newRow("Ctrl+Delete stays with the box")
        << QKeySequence(Qt::CTRL | Qt::Key_Delete) << QString() << QString() << QStringLiteral("桌") << 1;
}

void MainWindowTest::commandKeys()
{
    QFETCH(QKeySequence, key);
    QFETCH(QString, link);
    QFETCH(QString, outcome);
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    auto *box = child<QLineEdit>("edAnswer");
    QCOMPARE(QApplication::focusWidget(), box);
    box->setText(QStringLiteral("桌子"));
    box->setCursorPosition(1);
    const QString byKey = outcomeOf([&] { QTest::keyClick(box, key[0].key(), key[0].keyboardModifiers()); });
    QCOMPARE(byKey, outcome);
    QCOMPARE(box->text(), text);
    QCOMPARE(box->cursorPosition(), cursor);
    if (link.isEmpty())
        return;
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QCOMPARE(outcomeOf([&] { QTest::mouseClick(m_window->findChild<QWidget *>(link), Qt::LeftButton); }), byKey);
}

// What a screen reader finds, through the accessibility interfaces Qt gives it:
// the links are buttons that press, the boxes are named and their text read.
void MainWindowTest::screenReaderView_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");        // what it reads as its text
    QTest::addColumn<QString>("description"); // and as its description
    QTest::addColumn<QString>("press");       // what its press action does; empty: it has none
    const auto link = [](const char *object, const char *text, const QString &press) {
        QTest::newRow(object) << QString::fromLatin1(object) << int(QAccessible::PushButton) << QString::fromUtf8(text)
                              << QString() << QString() << press;
    };
    link("lblNewQuestion", "开始新问题", QStringLiteral("是否要开始新问题？"));
    link("lblEvaluate", "评价", QStringLiteral("window 评价"));
    link("lblClearDatabase", "清空", QStringLiteral("清空将会删除以前所有的问题及回答记录。是否要继续？"));
    link("lblAbout", "说明", QStringLiteral("window 说明"));
    link("lblQuit", "关闭", QStringLiteral("closed"));
    const auto box = [](const char *object, QAccessible::Role role, const char *name, const char *text,
                        const char *description = "") {
        QTest::newRow(object) << QString::fromLatin1(object) << int(role) << QString::fromUtf8(name)
                              << QString::fromUtf8(text) << QString::fromUtf8(description) << QString();
    };
    // The answer box's description is the last verdict, which a screen reader speaks.
    box("edAnswer", QAccessible::EditableText, "回答", "桌", "不是中文");
    box("reAnswerResult", QAccessible::EditableText, "回答记录", "桌子\nabc");
    box("reAnswerGrade", QAccessible::EditableText, "答案评价", "很好\n不是中文");
    box("reQuestion", QAccessible::EditableText, "问题", "请列举桌子的作用");
    box("lblScore", QAccessible::StaticText, "分数", "", "45 差");
    box("sbAnswerResult", QAccessible::ScrollBar, "回答记录滚动条", "");
}

void MainWindowTest::verdictsAreAnnounced_data()
{
    QTest::addColumn<QStringList>("verdicts");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QString>("description"); // the answer box's at the end
    QTest::newRow("one") << QStringList{QStringLiteral("很好")} << false << QStringLiteral("很好");
    QTest::newRow("the last of two") << QStringList{QStringLiteral("很好"), QStringLiteral("重复了")} << false
                                     << QStringLiteral("重复了");
    QTest::newRow("then a clear") << QStringList{QStringLiteral("很好")} << true
                                  << QStringLiteral("请根据问题，输入有意义的词并回车。");
}

// Each verdict becomes the focused answer box's description, which screen
// readers speak when it changes (the program test under X checks that over
// AT-SPI); a clear gives back the box's help.
void MainWindowTest::verdictsAreAnnounced()
{
    QFETCH(QStringList, verdicts);
    QFETCH(bool, reset);
    QFETCH(QString, description);
    for (const QString &verdict : verdicts)
        m_window->AppendAnswerRecord(QStringLiteral("桌子"), verdict, Verdict::Accepted);
    if (reset)
        m_window->ResetTrainingView();
    QCOMPARE(child<QLineEdit>("edAnswer")->accessibleDescription(), description);
}

// What the window gives a screen reader to speak, one notification per event:
// the new question, each verdict, and the score an answer changed.
void MainWindowTest::questionsAndScoresAreSpoken_data()
{
    QTest::addColumn<QStringList>("steps"); // q: a new question; a<score>: an accepted answer; r: a refusal
    QTest::addColumn<QStringList>("spoken");
    const QString question = QStringLiteral("请列举桌子的作用");
    QTest::newRow("a new question") << QStringList{QStringLiteral("q")} << QStringList{question};
    QTest::newRow("an answer that scores") << QStringList{QStringLiteral("q"), QStringLiteral("a45")}
                                           << QStringList{question, QStringLiteral("很好，分数 45 差")};
    QTest::newRow("a refusal: the score stays")
        << QStringList{QStringLiteral("q"), QStringLiteral("a45"), QStringLiteral("r")}
        << QStringList{question, QStringLiteral("很好，分数 45 差"), QStringLiteral("重复了")};
    QTest::newRow("an answer that leaves the score")
        << QStringList{QStringLiteral("q"), QStringLiteral("a85"), QStringLiteral("a85")}
        << QStringList{question, QStringLiteral("很好，分数 85 优秀"), QStringLiteral("很好")};
    QTest::newRow("the next question's first score")
        << QStringList{QStringLiteral("q"), QStringLiteral("a45"), QStringLiteral("q"), QStringLiteral("a45")}
        << QStringList{question, QStringLiteral("很好，分数 45 差"), question, QStringLiteral("很好，分数 45 差")};
}

void MainWindowTest::questionsAndScoresAreSpoken()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, spoken);
    auto *announcer = m_window->findChild<Announcer *>();
    QVERIFY(announcer);
    QStringList heard;
    for (const QString &step : steps) {
        if (step == QStringLiteral("q")) {
            m_window->ShowScore(0);
            m_window->showQuestion({QStringLiteral("请列举"), QStringLiteral("桌子"), QStringLiteral("的作用")});
        } else if (step == QStringLiteral("r")) {
            m_window->AppendAnswerRecord(QStringLiteral("桌子"), QStringLiteral("重复了"), Verdict::Repeated);
        } else {
            m_window->AppendAnswerRecord(QStringLiteral("桌子"), QStringLiteral("很好"), Verdict::Accepted);
            m_window->ShowScore(step.mid(1).toInt());
        }
        QCoreApplication::sendPostedEvents(announcer, QEvent::MetaCall);
        heard.append(announcer->lastText());
    }
    QCOMPARE(heard, spoken);
}

void MainWindowTest::announcementsJoin_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("joined");
    QTest::newRow("one, as it is") << QStringList{QStringLiteral("很好")} << QStringLiteral("很好");
    QTest::newRow("a comma between") << QStringList{QStringLiteral("很好"), QStringLiteral("分数 45 差")}
                                     << QStringLiteral("很好，分数 45 差");
    QTest::newRow("no comma after a mark")
        << QStringList{QStringLiteral("不能输入的太快！"), QStringLiteral("分数 45 差")}
        << QStringLiteral("不能输入的太快！分数 45 差");
    QTest::newRow("blank texts left out")
        << QStringList{QString(), QStringLiteral(" 很好 "), QStringLiteral("  "), QStringLiteral("重复了")}
        << QStringLiteral("很好，重复了");
}

void MainWindowTest::announcementsJoin()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, joined);
    QCOMPARE(joinedAnnouncement(texts), joined);
}

void MainWindowTest::screenReaderView()
{
    QFETCH(QString, object);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, description);
    QFETCH(QString, press);
    m_window->AppendAnswerRecord(QStringLiteral("桌子"), QStringLiteral("很好"), Verdict::Accepted);
    m_window->AppendAnswerRecord(QStringLiteral("abc"), QStringLiteral("不是中文"), Verdict::Invalid);
    m_window->showQuestion({QStringLiteral("请列举"), QStringLiteral("桌子"), QStringLiteral("的作用")});
    m_window->ShowScore(45);
    child<QLineEdit>("edAnswer")->setText(QStringLiteral("桌"));

    QWidget *widget = m_window->findChild<QWidget *>(object);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    QCOMPARE(int(accessible->role()), role);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    QCOMPARE(accessible->text(QAccessible::Description), description);
    QAccessibleTextInterface *textInterface = accessible->textInterface();
    QCOMPARE(textInterface != nullptr, !text.isEmpty());
    if (textInterface) {
        QString read = textInterface->text(0, textInterface->characterCount());
        QCOMPARE(read.replace(QChar::ParagraphSeparator, u'\n'), text);
    }

    QAccessibleActionInterface *actions = accessible->actionInterface();
    const bool presses = actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
    QCOMPARE(presses, !press.isEmpty());
    if (!presses)
        return;
    QVERIFY(!accessible->state().focusable);
    QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
    QCOMPARE(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()).size(), 1);
    QCOMPARE(outcomeOf([&] { actions->doAction(QAccessibleActionInterface::pressAction()); }), press);
}

void MainWindowTest::cancelledCommandsChangeNothing()
{
    MessageBoxes::scriptAnswers({QMessageBox::Cancel});
    QTest::mouseClick(child<QWidget>("lblNewQuestion"), Qt::LeftButton);
    QCOMPARE(MessageBoxes::shownTexts(), QStringList{QStringLiteral("是否要开始新问题？")});
    QCOMPARE(m_main->engine.state().questionId, 0);

    startQuestion();
    submit(QStringLiteral("桌子"));
    MessageBoxes::scriptAnswers({QMessageBox::Cancel});
    QTest::mouseClick(child<QWidget>("lblClearDatabase"), Qt::LeftButton);
    QCOMPARE(MessageBoxes::shownTexts().last(), QStringLiteral("清空将会删除以前所有的问题及回答记录。是否要继续？"));
    QVERIFY(m_main->engine.state().questionId > 0);
    QCOMPARE(child<QTextEdit>("reAnswerResult")->toPlainText(), QStringLiteral("桌子"));
}

void MainWindowTest::clearCommand()
{
    startQuestion();
    submit(QStringLiteral("亮晶晶"));
    MessageBoxes::scriptAnswers({QMessageBox::Yes});
    QTest::mouseClick(child<QWidget>("lblClearDatabase"), Qt::LeftButton);
    QCOMPARE(m_main->engine.state().questionId, 0);
    QVERIFY(child<QTextEdit>("reAnswerResult")->toPlainText().isEmpty());
    QVERIFY(child<QLabel>("lblScore")->text().isEmpty());
    Database check(QStringLiteral("check"));
    OpenDatabase(check);
    QCOMPARE(DatabaseFixture::count(check, QStringLiteral("ci")), 110);
    QCOMPARE(DatabaseFixture::count(check, QStringLiteral("wt")), 0);
}

void MainWindowTest::evaluateAndAboutOpenModallyAndAreFreed()
{
    for (const char *link : {"lblEvaluate", "lblAbout", "lblEvaluate"}) {
        QString title;
        QTimer::singleShot(0, this, [&title] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            title = dialog->windowTitle();
            dialog->close();
        });
        QTest::mouseClick(child<QWidget>(link), Qt::LeftButton);
        QCOMPARE(title, QString::fromUtf8(qstrcmp(link, "lblAbout") == 0 ? "说明" : "评价"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_window->findChildren<QDialog *>().isEmpty());
    }
    QVERIFY(MessageBoxes::shownTexts().isEmpty());
}

void MainWindowTest::closingWithoutAQuestionTouchesNoTable()
{
    Database check(QStringLiteral("check"));
    OpenDatabase(check);
    const QString before = DatabaseFixture::dump(check);
    check.statements().execute(
        QStringLiteral("CREATE TRIGGER no_deletes BEFORE DELETE ON wt BEGIN SELECT RAISE(ABORT, 'touched'); END"));
    QVERIFY(m_window->close());
    QVERIFY(MessageBoxes::shownTexts().isEmpty());
    QCOMPARE(DatabaseFixture::dump(check), before);
}

void MainWindowTest::closingDiscardsAnUnansweredQuestion()
{
    startQuestion();
    QTest::mouseClick(child<QWidget>("lblQuit"), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    Database check(QStringLiteral("check"));
    OpenDatabase(check);
    QCOMPARE(DatabaseFixture::count(check, QStringLiteral("wt")), 0);
    QVERIFY(MessageBoxes::shownTexts().size() == 1); // only the confirmation
}

void MainWindowTest::closingWithABrokenDatabaseStillCloses()
{
    startQuestion();
    {
        Database other(QStringLiteral("other"));
        OpenDatabase(other);
        other.statements().execute(QStringLiteral("DROP TABLE hd"));
    }
    MessageBoxes::clearShownTexts();
    QVERIFY(m_window->close());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(MessageBoxes::shownTexts().size(), 1);
    QVERIFY(MessageBoxes::shownTexts().first().contains(QStringLiteral("hd")));
}

void MainWindowTest::startupErrorIsShownAndTheWindowStillOpens()
{
    m_main.reset();
    QFile blocker(GetAppDataFolder() + QStringLiteral("/Zorvel"));
    QVERIFY(QDir().mkpath(GetAppDataFolder()));
    QVERIFY(QDir(GetAppDataFolder() + QStringLiteral("/Zorvel")).removeRecursively());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MessageBoxes::clearShownTexts();
    m_main = std::make_unique<TestableMainWindow>();
    m_window = &m_main->window;
    m_window->show();
    QCOMPARE(MessageBoxes::shownTexts().size(), 1);
    QVERIFY(MessageBoxes::shownTexts().first().startsWith(QStringLiteral("无法创建数据文件夹")));
    // Later commands report the missing database and harm nothing.
    startQuestion();
    QCOMPARE(MessageBoxes::shownTexts().size(), 3);
    QVERIFY(MessageBoxes::shownTexts().last().contains(QStringLiteral("数据库没有打开")));
    submit(QStringLiteral("桌子"));
    QVERIFY(m_window->close());
}

void MainWindowTest::startupNoticesAreShown_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("afterNewQuestion");
    QTest::newRow("logs set aside") << false << QStringLiteral("改名保存在原处") << QString();
    QTest::newRow("damaged file") << true << QStringLiteral("已损坏") << QStringLiteral("已损坏");
}

// What the start-up found is told in a box before the window is used; the window
// opens either way.
void MainWindowTest::startupNoticesAreShown()
{
    QFETCH(bool, damaged);
    QFETCH(QString, notice);
    QFETCH(QString, afterNewQuestion);
    m_main.reset();
    const QString path = GetDatabasePath();
    if (damaged) {
        QFile file(path);
        QVERIFY(file.resize(file.size() - 4096));
    } else {
        QVERIFY(QFile::remove(path));
        QVERIFY(DatabaseFixture::writeBytes(path + QStringLiteral("-wal"), "left by a crash"));
    }
    MessageBoxes::clearShownTexts();
    m_main = std::make_unique<TestableMainWindow>();
    m_window = &m_main->window;
    m_window->show();
    QCOMPARE(MessageBoxes::shownTexts().size(), 1);
    QVERIFY2(MessageBoxes::shownTexts().first().contains(notice), qPrintable(MessageBoxes::shownTexts().first()));

    startQuestion();
    if (afterNewQuestion.isEmpty()) {
        QCOMPARE(MessageBoxes::shownTexts().size(), 2); // only the confirmation
        QVERIFY(!child<QTextEdit>("reQuestion")->toPlainText().isEmpty());
    } else {
        QCOMPARE(MessageBoxes::shownTexts().size(), 3);
        QVERIFY(MessageBoxes::shownTexts().last().contains(afterNewQuestion));
    }
    QVERIFY(m_window->close());
}

// Damage in a page the start did not read: the check that the first frame
// starts finds it, the window tells it once, and the next command writes nothing.
void MainWindowTest::damageFoundInTheBackgroundIsTold()
{
    m_main.reset();
    const QString path = GetDatabasePath();
    QVERIFY(DatabaseFixture::garbleRootPage(path, QStringLiteral("hd"))); // the disk garbles one page
    const QByteArray damaged = DatabaseFixture::fileBytes(path);

    MessageBoxes::clearShownTexts();
    m_main = std::make_unique<TestableMainWindow>();
    m_window = &m_main->window;
    m_window->show();
    QVERIFY(MessageBoxes::shownTexts().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(MessageBoxes::shownTexts().size(), 1, 60000);
    QVERIFY2(MessageBoxes::shownTexts().first().contains(QStringLiteral("已损坏")),
             qPrintable(MessageBoxes::shownTexts().first()));
    QCOMPARE(m_main->database.access(), Database::Damaged);
    startQuestion();
    QVERIFY(MessageBoxes::shownTexts().last().contains(QStringLiteral("已损坏")));
    QVERIFY(m_window->close());
    m_main.reset();
    QCOMPARE(DatabaseFixture::fileBytes(path), damaged);
}

ZORVEL_WIDGET_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
