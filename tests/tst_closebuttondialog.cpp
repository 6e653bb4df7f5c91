// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgettestmain.h"

#include "widgets/closebuttondialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A dialog as the program's windows build one: a close button and another
// control that takes keys.
class SampleDialog : public CloseButtonDialog
{
public:
    SampleDialog()
    {
        auto *layout = new QVBoxLayout(this);
        box = new QLineEdit(this);
        button = new QPushButton(QStringLiteral("关闭"), this);
        layout->addWidget(box);
        layout->addWidget(button);
        setCloseButton(button);
        connect(button, &QPushButton::clicked, this, &QDialog::reject);
        setFixedSize(300, 200);
    }

    QLineEdit *box;
    QPushButton *button;
};

} // namespace

// What every dialog of the program shares: its title bar, how the keyboard
// closes it, and where it opens.
class CloseButtonDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void titleBarHasCloseButtonOnly();
    void keysCloseOnlyFromCloseButton_data();
    void keysCloseOnlyFromCloseButton();
    void centredOverAWindowAndOnTheScreen();
};

void CloseButtonDialogTest::titleBarHasCloseButtonOnly()
{
    SampleDialog dialog;
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
}

void CloseButtonDialogTest::keysCloseOnlyFromCloseButton_data()
{
    QTest::addColumn<bool>("onCloseButton");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Return on button") << true << Qt::Key_Return << true;
    QTest::newRow("Enter on button") << true << Qt::Key_Enter << true;
    QTest::newRow("Space on button") << true << Qt::Key_Space << true;
    QTest::newRow("Escape on button") << true << Qt::Key_Escape << false;
    QTest::newRow("Return elsewhere") << false << Qt::Key_Return << false;
    QTest::newRow("Enter elsewhere") << false << Qt::Key_Enter << false;
    QTest::newRow("Escape elsewhere") << false << Qt::Key_Escape << false;
}

void CloseButtonDialogTest::keysCloseOnlyFromCloseButton()
{
    QFETCH(bool, onCloseButton);
    QFETCH(Qt::Key, key);
    QFETCH(bool, closes);
    SampleDialog dialog;
    dialog.open();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget *target = onCloseButton ? static_cast<QWidget *>(dialog.button) : dialog.box;
    target->setFocus();
    QTest::keyClick(target, key);
    QCOMPARE(dialog.isVisible(), !closes);
    if (closes)
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void CloseButtonDialogTest::centredOverAWindowAndOnTheScreen()
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 150, 362, 474);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    for (const QPoint &position : {QPoint(100, 150), QPoint(420, 40)}) {
        mainWindow.move(position);
        SampleDialog dialog;
        dialog.centerOver(mainWindow);
        dialog.show();
        const QPoint offset = dialog.frameGeometry().center() - mainWindow.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("off by %1, %2").arg(offset.x()).arg(offset.y())));
    }

    SampleDialog dialog;
    dialog.centerOnScreen();
    const QPoint offset = dialog.geometry().center() - dialog.screen()->availableGeometry().center();
    QVERIFY(offset.manhattanLength() <= 2);
}

ZORVEL_WIDGET_TEST_MAIN(CloseButtonDialogTest)
#include "tst_closebuttondialog.moc"
