// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgettestmain.h"
#include "temporaryhome.h"

#include "app/application.h"
#include "ui/aboutwindowopener.h"
#include "ui/tfrmabout.h"

#include <QAbstractTextDocumentLayout>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

#include <functional>

// The About window: layout, texts and their look, keyboard behaviour, and the
// opener that builds, centres, shows and frees a new window on every call.
class AboutWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void windowIsFixed();
    void controlsSitWhereLaidOut_data();
    void controlsSitWhereLaidOut();
    void textBoxesShowTheirLinesUnbroken_data();
    void textBoxesShowTheirLinesUnbroken();
    void textBoxesReadAsPlainTextOnTheWindow();
    void closeButtonHasFocusAndKeyboardOrder();
    void enterInTextBoxDoesNotClose();

    void openerCentresOverParentEachTime();
    void openerFreesTheWindowAndForgetsTypedText();

    void renderForInspection();

private:
    TemporaryHome m_home;
};

namespace {

QTextEdit *memo(const QWidget &window, const QString &name)
{
    return window.findChild<QTextEdit *>(name);
}

QPushButton *closeButton(const QWidget &window)
{
    return window.findChild<QPushButton *>(QStringLiteral("Button1"));
}

// Runs `action` on the modal About window while openAboutWindow waits for it.
void openAboutWindow(QWidget *parent, const std::function<void(TfrmAbout &)> &action)
{
    bool ran = false;
    QTimer::singleShot(0, parent, [&] {
        auto *window = qobject_cast<TfrmAbout *>(QApplication::activeModalWidget());
        QVERIFY(window);
        ran = true;
        action(*window);
        if (window->isVisible())
            window->close();
    });
    openAboutWindow(parent);
    QVERIFY(ran);
}

} // namespace

void AboutWindowTest::initTestCase()
{
    installFontSubstitutions();
}

void AboutWindowTest::windowIsFixed()
{
    TfrmAbout window;
    QCOMPARE(window.windowTitle(), QStringLiteral("说明"));
    QCOMPARE(window.size(), QSize(356, 285));
    QCOMPARE(window.minimumSize(), window.maximumSize());
}

void AboutWindowTest::controlsSitWhereLaidOut_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Memo1") << QStringLiteral("Memo1") << QRect(24, 16, 313, 89);
    QTest::newRow("Memo2") << QStringLiteral("Memo2") << QRect(24, 120, 313, 49);
    QTest::newRow("Memo3") << QStringLiteral("Memo3") << QRect(24, 184, 313, 49);
    QTest::newRow("Button1") << QStringLiteral("Button1") << QRect(144, 248, 65, 25);
}

void AboutWindowTest::controlsSitWhereLaidOut()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TfrmAbout window;
    window.show();
    const auto *control = window.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &window);
    QCOMPARE(control->geometry(), geometry);
}

void AboutWindowTest::textBoxesShowTheirLinesUnbroken_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("description") << QStringLiteral("Memo1")
                                 << QStringList{QStringLiteral("本工具是用于思维发散性的训练，有助于思维的发"),
                                                QStringLiteral("散性、关联性的发挥。每个问题都是自动随机产生"),
                                                QStringLiteral("，你可以多次点击新问题按钮，直到你喜欢回答的"),
                                                QStringLiteral("问题出现。对每个问题，都需要认真回答，并输入"),
                                                QStringLiteral("有意义的词或短语，否则失去训练的意义。")}
                                 << false << QColor(0, 0, 0);
    QTest::newRow("disclaimer") << QStringLiteral("Memo2")
                                << QStringList{QStringLiteral("作者不保证软件的绝对安全，作者不对由于使"),
                                               QStringLiteral("用本软件而产生的任何后果承担任何责任。")}
                                << true << QColor(255, 0, 0);
    QTest::newRow("contact") << QStringLiteral("Memo3")
                             << QStringList{QStringLiteral("如有任何使用上的问题或建议，请联系作者："),
                                            QStringLiteral("Email： zorvel@users.noreply.example.org")}
                             << false << QColor(0, 0, 255);
}

// Each listed line is one paragraph that the box shows as exactly one line, and
// the last line's descent still lies inside the box.
void AboutWindowTest::textBoxesShowTheirLinesUnbroken()
{
#ifdef Q_OS_WIN
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        QSKIP("under Wine another face of other widths stands in for SimSun");
#endif
    QFETCH(QString, name);
    QFETCH(QStringList, lines);
    QFETCH(bool, bold);
    QFETCH(QColor, colour);
    TfrmAbout window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTextEdit *box = memo(window, name);
    QVERIFY(box);

    QCOMPARE(box->toPlainText().split(QLatin1Char('\n')), lines);
    QCOMPARE(box->font().family(), QStringLiteral("SimSun"));
    QCOMPARE(box->font().pixelSize(), 14);
    QCOMPARE(box->font().bold(), bold);
    QCOMPARE(box->palette().color(QPalette::Active, QPalette::Text), colour);
    QCOMPARE(box->palette().color(QPalette::Inactive, QPalette::Text), colour);

    qreal bottom = 0;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        QCOMPARE(block.layout()->lineCount(), 1);
        const QTextLine line = block.layout()->lineAt(0);
        const qreal top = box->document()->documentLayout()->blockBoundingRect(block).top();
        bottom = top + line.y() + line.ascent() + line.descent();
    }
    QVERIFY2(bottom <= box->viewport()->height(), qPrintable(QString::number(bottom)));
}

void AboutWindowTest::textBoxesReadAsPlainTextOnTheWindow()
{
    TfrmAbout window;
    window.show();
    const QImage image = window.grab().toImage();
    const QColor windowBackground = image.pixelColor(4, 4);
    QCOMPARE(windowBackground, window.palette().color(QPalette::Window));
    for (const char *name : {"Memo1", "Memo2", "Memo3"}) {
        QTextEdit *box = memo(window, QLatin1StringView(name));
        QVERIFY(box);
        QCOMPARE(box->frameShape(), QFrame::NoFrame);
        QVERIFY(!box->viewport()->autoFillBackground());
        const QPoint blankCorner = box->geometry().bottomRight() - QPoint(2, 2);
        QCOMPARE(image.pixelColor(blankCorner), windowBackground);
        QVERIFY(!box->isReadOnly());
        QCOMPARE(box->lineWrapMode(), QTextEdit::WidgetWidth);
        QVERIFY(!box->verticalScrollBar()->isVisible());
        QVERIFY(!box->horizontalScrollBar()->isVisible());
    }
    QCOMPARE(closeButton(window)->text(), QStringLiteral("关闭"));
}

void AboutWindowTest::closeButtonHasFocusAndKeyboardOrder()
{
    TfrmAbout window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), closeButton(window));

    QStringList order;
    for (int i = 0; i < 4; ++i) {
        order.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order,
             (QStringList{QStringLiteral("Button1"), QStringLiteral("Memo1"), QStringLiteral("Memo2"),
                          QStringLiteral("Memo3")}));
    QCOMPARE(QApplication::focusWidget(), closeButton(window));
}

void AboutWindowTest::enterInTextBoxDoesNotClose()
{
    TfrmAbout window;
    window.open();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTextEdit *box = memo(window, QStringLiteral("Memo1"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(window.isVisible());
    QCOMPARE(box->document()->blockCount(), 6);
}

void AboutWindowTest::openerCentresOverParentEachTime()
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 150, 362, 474);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

    for (const QPoint &position : {QPoint(100, 150), QPoint(420, 40)}) {
        mainWindow.move(position);
        QPoint centre;
        openAboutWindow(&mainWindow, [&](TfrmAbout &window) { centre = window.frameGeometry().center(); });
        const QPoint offset = centre - mainWindow.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("off by %1, %2").arg(offset.x()).arg(offset.y())));
    }
}

void AboutWindowTest::openerFreesTheWindowAndForgetsTypedText()
{
    QWidget mainWindow;
    mainWindow.show();
    QPointer<TfrmAbout> first;
    openAboutWindow(&mainWindow, [&](TfrmAbout &window) {
        first = &window;
        QVERIFY(window.isModal());
        QTextEdit *box = memo(window, QStringLiteral("Memo1"));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("typed"));
        QVERIFY(box->toPlainText().contains(QStringLiteral("typed")));
        QTest::keyClick(closeButton(window), Qt::Key_Space);
    });
    QVERIFY(first.isNull());

    QString textOnReopening;
    openAboutWindow(&mainWindow,
                    [&](TfrmAbout &window) { textOnReopening = memo(window, QStringLiteral("Memo1"))->toPlainText(); });
    QVERIFY(textOnReopening.startsWith(QStringLiteral("本工具是用于")));
    QVERIFY(!textOnReopening.contains(QStringLiteral("typed")));
}

// Writes the window's client area to zorvel-about.png in the folder named by
// ZORVEL_RENDER_DIR, for looking at it; skipped when the variable is not set.
void AboutWindowTest::renderForInspection()
{
    const QString folder = qEnvironmentVariable("ZORVEL_RENDER_DIR");
    if (folder.isEmpty())
        QSKIP("set ZORVEL_RENDER_DIR to write the window to a PNG file");
    TfrmAbout window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.grab().save(folder + QStringLiteral("/zorvel-about.png")));
}

ZORVEL_WIDGET_TEST_MAIN(AboutWindowTest)
#include "tst_aboutwindow.moc"
