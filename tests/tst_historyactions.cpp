// SPDX-License-Identifier: GPL-3.0-or-later
#include "databasefixture.h"
#include "temporaryhome.h"
#include "testablemainwindow.h"
#include "widgettestmain.h"

#include "app/application.h"
#include "app/historycommands.h"
#include "chart/chart.h"
#include "chart/horizontalbarseries.h"
#include "evaluate/evaluatewindowopener.h"
#include "evaluate/thinkingindices.h"
#include "evaluate/tfrmevaluate.h"
#include "evaluate/tfrmrestore.h"
#include "store/historycopy.h"
#include "store/historyrows.h"
#include "store/location.h"
#include "store/statements.h"
#include "training/historybackups.h"
#include "widgets/filedialogs.h"
#include "widgets/messageboxes.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

using DatabaseFixture::dump;

namespace {

QPushButton *button(const QWidget &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1StringView(name));
}

QString dumpOf(const QString &path)
{
    Database db;
    db.open(BuildConnectionString(path), Database::Untouched);
    return dump(db);
}

int indexInPage(const QString &html, const QString &id)
{
    const QRegularExpression cell(QStringLiteral("id=\"%1\"[^>]*>\\s*(-?\\d+)\\s*<").arg(id));
    const QRegularExpressionMatch match = cell.match(html);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString fileText(const QString &path)
{
    return QString::fromUtf8(DatabaseFixture::fileBytes(path));
}

// Runs `choose` on the restore's list once it is shown (modal, from the
// evaluation window's 恢复), while the click that opened it waits.
// Any other modal window is closed, so that the test fails instead of waiting.
void onRestoreList(const std::function<void(TfrmRestore &)> &choose, bool &ran)
{
    QTimer::singleShot(0, [choose, &ran] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *list = qobject_cast<TfrmRestore *>(modal)) {
            ran = true;
            choose(*list);
        }
        if (modal && modal->isVisible())
            modal->close();
    });
}

// Calls `act` on the active modal window once it is one that `act` takes (returns
// true for), looking every few milliseconds; after about ten seconds, closes
// whatever modal window is open, so that the test fails instead of waiting.
void whenModal(const std::function<bool(QWidget *)> &act, int triesLeft = 2000)
{
    QTimer::singleShot(5, [act, triesLeft] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && act(modal))
            return;
        if (triesLeft > 0)
            whenModal(act, triesLeft - 1);
        else if (modal)
            modal->close();
    });
}

QList<double> chartValues(const QWidget &window)
{
    const HorizontalBarSeries *series = window.findChild<Chart *>(QStringLiteral("chartEvaluate"))->series(0);
    QList<double> values;
    for (int i = 0; i < series->count(); ++i)
        values.append(series->value(i));
    return values;
}

} // namespace

// The evaluation window's history actions on a real data file, as the running
// program has them: each writes its file, a restore lets the session go on with
// the restored history, and a refused one changes nothing.
class HistoryActionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void reportIsWrittenAndOpened();
    void exportWritesEveryAnswer();
    void backupGoesToTheBackupsFolder();
    void restoreFromTheListGoesOnWithTheRestoredHistory();
    void restoreFromAFileAnywhere();
    void evaluationReopensOnTheRestoredHistory();
    void refusedRestoreChangesNothing_data();
    void refusedRestoreChangesNothing();
    void restoredBackupOutlivesTheNewestTen();
    void everyButtonIsReachedByKeyboard();
    void openReportCommandWritesAndOpens();
    void suffixes_data();
    void suffixes();
    void sizes_data();
    void sizes();

private:
    void answerQuestions(int questions);
    QString dataPath() const { return databaseFileLocation(); }
    QStringList backups() const { return backupFilesIn(m_session->historyActions.backupsFolder(), dataPath()); }

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<TestableMainWindow> m_session;
};

void HistoryActionsTest::initTestCase()
{
    installFontSubstitutions();
}

void HistoryActionsTest::init()
{
    MessageBoxes::scriptAnswers({});
    MessageBoxes::clearShownTexts();
    FileDialogs::scriptFiles({});
    FileDialogs::clearOpenedFiles();
    m_home = std::make_unique<TemporaryHome>();
    m_session = std::make_unique<TestableMainWindow>();
    answerQuestions(3);
}

void HistoryActionsTest::cleanup()
{
    m_session.reset();
    m_home.reset();
}

// Questions with one to three answers each, through the engine as a session gives them.
void HistoryActionsTest::answerQuestions(int questions)
{
    const QStringList words{QStringLiteral("写字"), QStringLiteral("画画"), QStringLiteral("垫桌脚"),
                            QStringLiteral("当镇纸"), QStringLiteral("送人")};
    for (int q = 0; q < questions; ++q) {
        m_session->engine.startNewQuestion();
        for (int a = 0; a <= q % 3; ++a) {
            m_session->clock.advance(5);
            m_session->engine.submitAnswer(words.at((q + a) % words.size()));
        }
    }
}

void HistoryActionsTest::reportIsWrittenAndOpened()
{
    TfrmEvaluate window(m_session->database, &m_session->historyActions);
    button(window, "btnReport")->click();
    const QString report = reportFileFor(dataPath());
    QCOMPARE(FileDialogs::openedFiles(), QStringList{report});
#ifndef Q_OS_WIN
    // Windows finds the documents folder from the account, not from HOME.
    QVERIFY2(report.startsWith(m_home->path()), qPrintable(report));
#endif
    ThinkingIndices indices;
    ComputeThinkingIndices(m_session->database, indices);
    const QString html = fileText(report);
    QCOMPARE(indexInPage(html, QStringLiteral("radioIndex")), indices.radioIndex);
    QCOMPARE(indexInPage(html, QStringLiteral("heatIndex")), indices.heatIndex);
    QVERIFY(MessageBoxes::shownTexts().isEmpty());
}

void HistoryActionsTest::exportWritesEveryAnswer()
{
    const QString chosen = m_home->path() + QStringLiteral("/表格/answers");
    QVERIFY(QDir().mkpath(QFileInfo(chosen).path()));
    FileDialogs::scriptFiles({chosen});
    TfrmEvaluate window(m_session->database, &m_session->historyActions);
    button(window, "btnExport")->click();
    const QString written = chosen + QStringLiteral(".csv");
    QVERIFY(QFileInfo::exists(written));
    const QStringList lines = fileText(written).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + historyTotals(m_session->database).answers);
    QCOMPARE(MessageBoxes::shownTexts().size(), 1);

    // A cancelled choice writes nothing and says nothing.
    FileDialogs::scriptFiles({});
    MessageBoxes::clearShownTexts();
    button(window, "btnExport")->click();
    QVERIFY(MessageBoxes::shownTexts().isEmpty());
}

void HistoryActionsTest::backupGoesToTheBackupsFolder()
{
    TfrmEvaluate window(m_session->database, &m_session->historyActions);
    button(window, "btnBackup")->click();
    QCOMPARE(backups().size(), 1);
    const QString backup = m_session->historyActions.backupsFolder() + u'/' + backups().constFirst();
    QCOMPARE(dumpOf(backup), dump(m_session->database));
    QVERIFY(MessageBoxes::shownTexts().constFirst().contains(QDir::toNativeSeparators(backup)));
}

// The list shows the backup with its answers; once restored, the same Database
// holds the backup's history, the replaced one is a backup of its own, the main
// window starts afresh, and training goes on on the restored file.
void HistoryActionsTest::restoreFromTheListGoesOnWithTheRestoredHistory()
{
    const QString backup = m_session->historyActions.backUp();
    const QString backedUp = dumpOf(backup);
    const int backedUpAnswers = historyTotals(m_session->database).answers;
    QVERIFY(backedUpAnswers > 0);
    answerQuestions(2);
    const QString replaced = dump(m_session->database);
    QVERIFY(replaced != backedUp);

    MessageBoxes::scriptAnswers({QMessageBox::Yes});
    bool listShown = false;
    onRestoreList(
        [&](TfrmRestore &list) {
            auto *rows = list.findChild<QTreeWidget *>(QStringLiteral("lvBackups"));
            QCOMPARE(rows->topLevelItemCount(), 1);
            QCOMPARE(rows->topLevelItem(0)->text(1), QString::number(backedUpAnswers));
            button(list, "btnRestore")->click();
        },
        listShown);
    TfrmEvaluate window(m_session->database, &m_session->historyActions);
    button(window, "btnRestore")->click();
    QVERIFY(listShown);
    QCOMPARE(window.result(), TfrmEvaluate::Restored);

    QCOMPARE(dump(m_session->database), backedUp);
    QCOMPARE(m_session->engine.state().questionId, 0);
    QVERIFY(m_session->window.findChild<QLineEdit *>(QStringLiteral("edAnswer"))->text().isEmpty());
    QCOMPARE(backups().size(), 2);
    QStringList kept = backups();
    kept.removeAll(QFileInfo(backup).fileName());
    QCOMPARE(dumpOf(m_session->historyActions.backupsFolder() + u'/' + kept.constFirst()), replaced);

    answerQuestions(1);
    QCOMPARE(historyTotals(m_session->database).answers, backedUpAnswers + 1);
    m_session->engine.finish();
    Database onDisk;
    onDisk.open(BuildConnectionString(dataPath()), Database::Untouched);
    QCOMPARE(historyTotals(onDisk).answers, backedUpAnswers + 1);
}

void HistoryActionsTest::restoreFromAFileAnywhere()
{
    const QString stick = m_home->path() + QStringLiteral("/stick/history.mdb");
    QVERIFY(QDir().mkpath(QFileInfo(stick).path()));
    QCOMPARE(runHistoryCommand(HistoryCommand::Backup, stick, dataPath()), 0);
    const QString copied = dumpOf(stick);
    answerQuestions(2);

    FileDialogs::scriptFiles({stick});
    MessageBoxes::scriptAnswers({QMessageBox::Yes});
    bool listShown = false;
    onRestoreList([](TfrmRestore &list) { button(list, "btnFromFile")->click(); }, listShown);
    TfrmEvaluate window(m_session->database, &m_session->historyActions);
    button(window, "btnRestore")->click();
    QVERIFY(listShown);
    QCOMPARE(dump(m_session->database), copied);
    QCOMPARE(dumpOf(stick), copied);
}

// The window that restored closes, and a new one shows the restored history's
// indices, with the focus where the user left it.
void HistoryActionsTest::evaluationReopensOnTheRestoredHistory()
{
    const QString backup = m_session->historyActions.backUp();
    ThinkingIndices restored;
    {
        Database copy;
        copy.open(BuildConnectionString(backup), Database::Untouched);
        ComputeThinkingIndices(copy, restored);
    }
    answerQuestions(4);
    ThinkingIndices before;
    ComputeThinkingIndices(m_session->database, before);
    QVERIFY(before != restored);
    MessageBoxes::scriptAnswers({QMessageBox::Yes});
    QPointer<QWidget> first;
    QList<double> reopenedValues;
    bool focusOnRestore = false;
    whenModal([&](QWidget *modal) {
        auto *window = qobject_cast<TfrmEvaluate *>(modal);
        if (!window)
            return false;
        first = window;
        whenModal([](QWidget *list) {
            if (!qobject_cast<TfrmRestore *>(list))
                return false;
            button(*list, "btnRestore")->click();
            return true;
        });
        whenModal([&](QWidget *other) {
            if (!qobject_cast<TfrmEvaluate *>(other) || other == first)
                return false;
            reopenedValues = chartValues(*other);
            focusOnRestore = other->focusWidget() == button(*other, "btnRestore");
            other->close();
            return true;
        });
        button(*window, "btnRestore")->click();
        return true;
    });
    openEvaluateWindow(m_session->database, &m_session->window, &m_session->historyActions);
    QCOMPARE(reopenedValues,
             (QList<double>{double(restored.oldWordIndex), double(restored.newWordIndex), double(restored.radioIndex),
                            double(restored.heatIndex)}));
    QVERIFY(focusOnRestore);
}

void HistoryActionsTest::refusedRestoreChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("errorShown");
    QTest::newRow("confirmation cancelled") << QStringLiteral("cancelled") << false;
    QTest::newRow("the history itself") << QStringLiteral("itself") << true;
    QTest::newRow("not a database") << QStringLiteral("text") << true;
    QTest::newRow("no such file") << QStringLiteral("missing") << true;
    QTest::newRow("a table missing") << QStringLiteral("table missing") << true;
    // Fails once the file is closed: the replaced history cannot be kept.
    QTest::newRow("no room for the backup") << QStringLiteral("backups blocked") << true;
}

// The file, its backups and the session are as they were; the question being
// answered can still be answered.
void HistoryActionsTest::refusedRestoreChangesNothing()
{
    QFETCH(QString, kind);
    QFETCH(bool, errorShown);
    QString source = m_home->path() + QStringLiteral("/offered.mdb");
    QCOMPARE(runHistoryCommand(HistoryCommand::Backup, source, dataPath()), 0);
    if (kind == QStringLiteral("itself"))
        source = dataPath();
    else if (kind == QStringLiteral("text"))
        QVERIFY(DatabaseFixture::writeBytes(source, "question,answer\n"));
    else if (kind == QStringLiteral("missing"))
        source += QStringLiteral(".gone");
    else if (kind == QStringLiteral("table missing")) {
        Database offered;
        offered.open(BuildConnectionString(source));
        offered.statements().execute(QStringLiteral("DROP TABLE hdpj"));
    } else if (kind == QStringLiteral("backups blocked"))
        QVERIFY(DatabaseFixture::writeBytes(m_session->historyActions.backupsFolder(), "not a folder"));
    m_session->engine.startNewQuestion();
    const int question = m_session->engine.state().questionId;
    const QString before = dump(m_session->database);

    FileDialogs::scriptFiles({source});
    MessageBoxes::scriptAnswers({kind == QStringLiteral("cancelled") ? QMessageBox::Cancel : QMessageBox::Yes});
    bool listShown = false;
    onRestoreList([](TfrmRestore &list) { button(list, "btnFromFile")->click(); }, listShown);
    TfrmEvaluate window(m_session->database, &m_session->historyActions);
    button(window, "btnRestore")->click();
    QVERIFY(listShown);
    QVERIFY(window.result() != TfrmEvaluate::Restored);
    QCOMPARE(MessageBoxes::shownTexts().size(), errorShown ? 2 : 1); // the confirmation, and the error
    QCOMPARE(dump(m_session->database), before);
    QVERIFY(backups().isEmpty());
    QCOMPARE(m_session->engine.state().questionId, question);
    m_session->clock.advance(5);
    m_session->engine.submitAnswer(QStringLiteral("照明"));
    QCOMPARE(m_session->engine.state().answerCount, 1);
}

// A restore from the oldest of ten backups keeps the replaced history as a new
// backup; the one it read from is not removed to make room.
void HistoryActionsTest::restoredBackupOutlivesTheNewestTen()
{
    for (int i = 0; i < keptBackups; ++i)
        m_session->historyActions.backUp();
    QStringList names = backups();
    std::sort(names.begin(), names.end(), backupIsOlder);
    const QString oldest = m_session->historyActions.backupsFolder() + u'/' + names.constFirst();
    m_session->historyActions.restore(oldest);
    QVERIFY(QFileInfo::exists(oldest));
    QCOMPARE(backups().size(), keptBackups + 1);
}

void HistoryActionsTest::everyButtonIsReachedByKeyboard()
{
    TfrmEvaluate window(m_session->database, &m_session->historyActions);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QStringList reached;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (auto *pressable = qobject_cast<QPushButton *>(QApplication::focusWidget())) {
            QVERIFY(!QAccessible::queryAccessibleInterface(pressable)->text(QAccessible::Name).isEmpty());
            reached.append(pressable->objectName());
        }
    }
    for (const char *name : {"btnReport", "btnExport", "btnBackup", "btnRestore", "Button1"})
        QVERIFY2(reached.contains(QLatin1StringView(name)), name);

    // Enter presses the button with the focus.
    button(window, "btnBackup")->setFocus();
    QTest::keyClick(button(window, "btnBackup"), Qt::Key_Return);
    QCOMPARE(backups().size(), 1);
    QVERIFY(window.isVisible());
}

void HistoryActionsTest::openReportCommandWritesAndOpens()
{
    QCOMPARE(openProgressReport(dataPath()), 0);
    QCOMPARE(FileDialogs::openedFiles(), QStringList{reportFileFor(dataPath())});
    QVERIFY(fileText(reportFileFor(dataPath())).contains(QStringLiteral("id=\"heatIndex\"")));

    const QString nowhere = m_home->path() + QStringLiteral("/nobody/张三.mdb");
    QCOMPARE(openProgressReport(nowhere), 1);
    QCOMPARE(MessageBoxes::shownTexts().size(), 1);
    QVERIFY(!QFileInfo::exists(reportFileFor(nowhere)));
    QCOMPARE(QFileInfo(reportFileFor(nowhere)).fileName(), QStringLiteral("张三-进度报告.html"));
}

void HistoryActionsTest::suffixes_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("none") << QStringLiteral("/d/answers") << QStringLiteral("/d/answers.csv");
    QTest::newRow("its own") << QStringLiteral("/d/answers.csv") << QStringLiteral("/d/answers.csv");
    QTest::newRow("another") << QStringLiteral("/d/answers.txt") << QStringLiteral("/d/answers.txt");
    QTest::newRow("a dotted folder") << QStringLiteral("/d.v2/answers") << QStringLiteral("/d.v2/answers.csv");
    QTest::newRow("cancelled") << QString() << QString();
}

void HistoryActionsTest::suffixes()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(withSuffix(chosen, QStringLiteral("csv")), written);
}

void HistoryActionsTest::sizes_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << qint64(0) << QStringLiteral("0 KB");
    QTest::newRow("one byte rounds up") << qint64(1) << QStringLiteral("1 KB");
    QTest::newRow("a byte below a megabyte") << qint64(1024 * 1024 - 1) << QStringLiteral("1.0 MB");
    QTest::newRow("a megabyte") << qint64(1024 * 1024) << QStringLiteral("1.0 MB");
    QTest::newRow("a long history") << qint64(27 * 1024 * 1024 + 300 * 1024) << QStringLiteral("27.3 MB");
}

void HistoryActionsTest::sizes()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(backupSizeText(bytes), text);
}

ZORVEL_WIDGET_TEST_MAIN(HistoryActionsTest)
#include "tst_historyactions.moc"
