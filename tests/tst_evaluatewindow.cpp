// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgettestmain.h"
#include "temporaryhome.h"

#include "app/application.h"
#include "chart/chart.h"
#include "chart/horizontalbarseries.h"
#include "evaluate/evaluatewindowopener.h"
#include "evaluate/tfrmevaluate.h"
#include "evaluate/thinkingindexcolor.h"
#include "evaluate/thinkingindices.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/location.h"
#include "store/statements.h"
#include "widgets/messageboxes.h"

#include <QSqlQuery>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <functional>

// The evaluation window: its layout, the four bars it builds from the stored
// history, its keyboard behaviour, and the opener.
class EvaluateWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowIsFixed();
    void controlsSitWhereLaidOut_data();
    void controlsSitWhereLaidOut();

    void historyGivesFourBarsInOrder();
    void emptyHistoryGivesFourZeroBars();
    void failingQueryShowsOneErrorAndNoBars();

    void tabControlHasFocusAndKeyboardOrder();

    void openerComputesAfreshAndFreesTheWindow();

    void renderForInspection();

private:
    void storeHistory();

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<Database> m_db;
};

namespace {

Chart *chart(const QWidget &window)
{
    return window.findChild<Chart *>(QStringLiteral("chartEvaluate"));
}

HorizontalBarSeries *indexSeries(const QWidget &window)
{
    return chart(window)->series(0);
}

QPushButton *closeButton(const QWidget &window)
{
    return window.findChild<QPushButton *>(QStringLiteral("Button1"));
}

QStringList labels(const HorizontalBarSeries &series)
{
    QStringList result;
    for (int i = 0; i < series.count(); ++i)
        result.append(series.label(i));
    return result;
}

QList<double> values(const HorizontalBarSeries &series)
{
    QList<double> result;
    for (int i = 0; i < series.count(); ++i)
        result.append(series.value(i));
    return result;
}

const QStringList barLabels{QStringLiteral("思考守旧值"), QStringLiteral("联想发现值"), QStringLiteral("思维发散值"),
                            QStringLiteral("头脑发热值")};

// Runs `action` on the modal evaluation window while openEvaluateWindow waits.
void openEvaluateWindow(Database &db, QWidget *parent, const std::function<void(TfrmEvaluate &)> &action)
{
    bool ran = false;
    QTimer::singleShot(0, parent, [&] {
        auto *window = qobject_cast<TfrmEvaluate *>(QApplication::activeModalWidget());
        QVERIFY(window);
        ran = true;
        action(*window);
        window->close();
    });
    openEvaluateWindow(db, parent);
    QVERIFY(ran);
}

} // namespace

void EvaluateWindowTest::initTestCase()
{
    installFontSubstitutions();
    MessageBoxes::scriptAnswers({});
}

void EvaluateWindowTest::init()
{
    MessageBoxes::clearShownTexts();
    m_home = std::make_unique<TemporaryHome>();
    m_db = std::make_unique<Database>();
    OpenDatabase(*m_db);
}

void EvaluateWindowTest::cleanup()
{
    m_db.reset();
    m_home.reset();
}

// Templates of weight 1 and 3; their answered questions give the means
// radio (2 + 3 + 4·3) / 3 = 5.67 → 6, new word (2 + 2 + 2·3) / 3 = 3.33 → 3,
// old word (1 + 2·3) / 2 = 3.5 → 4, and heat √|36 + 9 − 16| = 5.39 → 5.
void EvaluateWindowTest::storeHistory()
{
    m_db->statements().execute(QStringLiteral("DELETE FROM wtlx"));
    m_db->statements().execute(QStringLiteral("INSERT INTO wtlx (id, fsqz) VALUES (1, 1), (2, 3)"));
    m_db->statements().execute(QStringLiteral("INSERT INTO wt (wtlxid, answer_count, repeate_count) VALUES"
                                              " (1, 2, 0), (1, 3, 1), (2, 4, 2), (2, NULL, NULL)"));
}

void EvaluateWindowTest::windowIsFixed()
{
    TfrmEvaluate window(*m_db);
    QCOMPARE(window.windowTitle(), QStringLiteral("评价"));
    QCOMPARE(window.size(), QSize(579, 451));
    QCOMPARE(window.minimumSize(), window.maximumSize());
}

void EvaluateWindowTest::controlsSitWhereLaidOut_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("tab control") << QStringLiteral("PageControl1") << QStringLiteral("TfrmEvaluate")
                                 << QRect(8, 8, 561, 393);
    QTest::newRow("chart") << QStringLiteral("chartEvaluate") << QStringLiteral("tsRadioGree")
                           << QRect(8, 24, 537, 313);
    QTest::newRow("close button") << QStringLiteral("Button1") << QStringLiteral("TfrmEvaluate")
                                  << QRect(504, 416, 65, 25);
}

void EvaluateWindowTest::controlsSitWhereLaidOut()
{
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    TfrmEvaluate window(*m_db);
    window.show();
    const auto *control = window.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    QCOMPARE(control->geometry(), geometry);
    // The page is the one and active page of the tab control, and the chart lies
    // wholly on it.
    QVERIFY(control->parentWidget()->rect().contains(control->geometry()));

    const auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QCOMPARE(pages->count(), 1);
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("tsRadioGree"));
    QCOMPARE(pages->tabText(0), QStringLiteral("指标值"));
    QCOMPARE(closeButton(window)->text(), QStringLiteral("关闭"));
    QCOMPARE(chart(window)->font().family(), QStringLiteral("SimSun"));
    QCOMPARE(chart(window)->font().pixelSize(), 14);
}

void EvaluateWindowTest::historyGivesFourBarsInOrder()
{
    storeHistory();
    TfrmEvaluate window(*m_db);
    QCOMPARE(chart(window)->seriesCount(), 1);
    const HorizontalBarSeries &series = *indexSeries(window);
    QCOMPARE(series.name(), QStringLiteral("Series1"));
    QVERIFY(series.colorEachPoint());
    QCOMPARE(series.color(), QColor(255, 0, 0));

    QCOMPARE(labels(series), barLabels);
    QCOMPARE(values(series), (QList<double>{4, 3, 6, 5}));
    const QList<QColor> colours{QColor(255, 0, 0), QColor(0, 128, 0), QColor(255, 255, 0), QColor(0, 0, 255)};
    for (int i = 0; i < series.count(); ++i)
        QCOMPARE(series.pointColor(i), colours.at(i));
    // The progress report takes each index's colour and name from the same place.
    for (const ThinkingIndexKind &kind : thinkingIndexKinds()) {
        QCOMPARE(series.pointColor(kind.barPosition).name(), thinkingIndexColor(kind));
        QCOMPARE(labels(series).at(kind.barPosition), kind.name);
    }
    QCOMPARE(window.accessibleDescription(), thinkingIndicesExplanation());
    QVERIFY(MessageBoxes::shownTexts().isEmpty());
}

void EvaluateWindowTest::emptyHistoryGivesFourZeroBars()
{
    TfrmEvaluate window(*m_db);
    QCOMPARE(labels(*indexSeries(window)), barLabels);
    QCOMPARE(values(*indexSeries(window)), (QList<double>{0, 0, 0, 0}));
    QVERIFY(MessageBoxes::shownTexts().isEmpty());
}

void EvaluateWindowTest::failingQueryShowsOneErrorAndNoBars()
{
    storeHistory();
    m_db->statements().execute(QStringLiteral("DROP TABLE wt"));
    QString errorText;
    try {
        ThinkingIndices indices;
        ComputeThinkingIndices(*m_db, indices);
    } catch (const DatabaseError &error) {
        errorText = error.text();
    }
    QVERIFY(!errorText.isEmpty());

    TfrmEvaluate window(*m_db);
    QCOMPARE(MessageBoxes::shownTexts(), QStringList{errorText});
    QCOMPARE(chart(window)->seriesCount(), 1);
    QCOMPARE(indexSeries(window)->count(), 0);
}

void EvaluateWindowTest::tabControlHasFocusAndKeyboardOrder()
{
    TfrmEvaluate window(*m_db);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QVERIFY(pages->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), chart(window));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), closeButton(window));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(pages->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), closeButton(window));
}

void EvaluateWindowTest::openerComputesAfreshAndFreesTheWindow()
{
    QWidget mainWindow;
    mainWindow.show();
    QPointer<TfrmEvaluate> first;
    QList<double> firstValues;
    openEvaluateWindow(*m_db, &mainWindow, [&](TfrmEvaluate &window) {
        first = &window;
        QVERIFY(window.isModal());
        firstValues = values(*indexSeries(window));
    });
    QVERIFY(first.isNull());
    QCOMPARE(firstValues, (QList<double>{0, 0, 0, 0}));

    storeHistory();
    QList<double> secondValues;
    openEvaluateWindow(*m_db, &mainWindow, [&](TfrmEvaluate &window) { secondValues = values(*indexSeries(window)); });
    QCOMPARE(secondValues, (QList<double>{4, 3, 6, 5}));
}

// Writes the window's client area, on the history of storeHistory(), to
// zorvel-evaluate.png (and, with the chart's second bar reached by the keyboard,
// zorvel-evaluate-keyboard.png) in the folder named by ZORVEL_RENDER_DIR, for
// looking at it; skipped when the variable is not set.
void EvaluateWindowTest::renderForInspection()
{
    const QString folder = qEnvironmentVariable("ZORVEL_RENDER_DIR");
    if (folder.isEmpty())
        QSKIP("set ZORVEL_RENDER_DIR to write the window to a PNG file");
    storeHistory();
    TfrmEvaluate window(*m_db);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.grab().save(folder + QStringLiteral("/zorvel-evaluate.png")));
    // And with the second bar reached by the keyboard.
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(window.grab().save(folder + QStringLiteral("/zorvel-evaluate-keyboard.png")));
}

ZORVEL_WIDGET_TEST_MAIN(EvaluateWindowTest)
#include "tst_evaluatewindow.moc"
