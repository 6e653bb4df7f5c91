// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgettestmain.h"
#include "temporaryhome.h"
#include "testablemainwindow.h"

#include "app/application.h"
#include "app/commandline.h"
#include "evaluate/tfrmevaluate.h"
#include "ui/lightpalette.h"
#include "ui/tfrmabout.h"
#include "widgets/installedfonts.h"
#include "widgets/messageboxes.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QToolTip>
#include <QScopeGuard>
#include <QtTest>

#include <functional>

// The program's set-up before its first window: the command line, and the
// palette and Qt's translation that configureApplication installs, here over
// what a dark desktop scheme would have handed the program.
class ApplicationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void lightPaletteOverADarkScheme_data();
    void lightPaletteOverADarkScheme();
    void qtTextsAreChinese();
    void styleSheetsNameTheInstalledFace_data();
    void styleSheetsNameTheInstalledFace();
    void confirmationBoxesKeepTheirTexts_data();
    void confirmationBoxesKeepTheirTexts();

    void commandLine_data();
    void commandLine();
    void commandLineSpeaksTheSystemLanguage_data();
    void commandLineSpeaksTheSystemLanguage();
    void qtOptionsBeforeTheApplication_data();
    void qtOptionsBeforeTheApplication();
    void platformNeedsItsDisplay_data();
    void platformNeedsItsDisplay();
};

namespace {

QPalette darkScheme()
{
    const QColor light(0xF0, 0xF0, 0xF0), face(0x32, 0x32, 0x32);
    return QPalette(light, face, QColor(0x4B, 0x4B, 0x4B), QColor(0x21, 0x21, 0x21), QColor(0x26, 0x26, 0x26), light,
                    light, QColor(0x24, 0x24, 0x24), face);
}

// The palette each kind of window and popup is drawn with.
QPalette paletteOf(const QString &what, TestableMainWindow &main)
{
    if (what == QStringLiteral("application"))
        return QApplication::palette();
    if (what == QStringLiteral("tooltip"))
        return QToolTip::palette();
    if (what == QStringLiteral("main window"))
        return main.window.palette();
    if (what == QStringLiteral("About window"))
        return TfrmAbout().palette();
    if (what == QStringLiteral("evaluation window"))
        return TfrmEvaluate(main.database).palette();
    if (what == QStringLiteral("message box")) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), QStringLiteral("?"));
        return box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->palette();
    }
    if (what == QStringLiteral("context menu")) {
        std::unique_ptr<QMenu> menu(
            main.window.findChild<QLineEdit *>(QStringLiteral("edAnswer"))->createStandardContextMenu());
        return menu->palette();
    }
    if (what == QStringLiteral("label"))
        return QLabel().palette();
    if (what == QStringLiteral("text box"))
        return QTextEdit().palette();
    return QLineEdit().palette();
}

} // namespace

void ApplicationTest::initTestCase()
{
    const QPalette dark = darkScheme();
    QApplication::setPalette(dark);
    for (const char *className : {"QLabel", "QLineEdit", "QMenu", "QMessageBoxLabel", "QTextEdit"})
        QApplication::setPalette(dark, className);
    QToolTip::setPalette(dark);
    configureApplication(*qApp);
    // Whatever the machine's language, the tests start from Qt's English.
    installTranslations(*qApp, QLocale(QLocale::English));
}

void ApplicationTest::lightPaletteOverADarkScheme_data()
{
    QTest::addColumn<QString>("what");
    for (const char *what : {"application", "tooltip", "main window", "About window", "evaluation window",
                             "message box", "context menu", "label", "text box", "line edit"})
        QTest::newRow(what) << QString::fromLatin1(what);
}

void ApplicationTest::lightPaletteOverADarkScheme()
{
    QFETCH(QString, what);
    // The colours the windows' own colours were chosen against.
    const QPalette light = lightPalette();
    QCOMPARE(light.color(QPalette::Window), QColor(0xEF, 0xEF, 0xEF));
    QCOMPARE(light.color(QPalette::Button), QColor(0xEF, 0xEF, 0xEF));
    QCOMPARE(light.color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(light.color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(light.color(QPalette::ButtonText), QColor(Qt::black));
    QCOMPARE(light.color(QPalette::Base), QColor(Qt::white));

    TemporaryHome home;
    TestableMainWindow main;
    const QPalette palette = paletteOf(what, main);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            if (role == QPalette::NoRole)
                continue;
            QVERIFY2(palette.color(group, QPalette::ColorRole(role)) == light.color(group, QPalette::ColorRole(role)),
                     qPrintable(QStringLiteral("group %1, role %2").arg(group).arg(role)));
        }
    }
}

void ApplicationTest::styleSheetsNameTheInstalledFace_data()
{
    QString present;
    for (const QString &family : QFontDatabase::families()) {
        if (!family.contains(QLatin1Char('[')) && present.isEmpty())
            present = family;
    }
    QFont::insertSubstitutions(QStringLiteral("Zorvel Absent Face"),
                               {QStringLiteral("Zorvel Other Absent Face"), present});
    QFont::insertSubstitution(QStringLiteral("Zorvel Lost Face"), QStringLiteral("Zorvel Other Absent Face"));
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("expected"); // null: left to the other translators
    const QString sheet = QStringLiteral("* { font-family: \"%1\"; font-size: 14px; }");
    QTest::newRow("missing, first installed substitute")
        << sheet.arg(QStringLiteral("Zorvel Absent Face")) << sheet.arg(present);
    QTest::newRow("in another case") << sheet.arg(QStringLiteral("zorvel ABSENT face")) << sheet.arg(present);
    QTest::newRow("no substitute installed") << sheet.arg(QStringLiteral("Zorvel Lost Face")) << QString();
    QTest::newRow("installed") << sheet.arg(present) << QString();
    QTest::newRow("not a style sheet") << QStringLiteral("\"Zorvel Absent Face\"") << QString();
}

// What the forms' style sheets become on the way through the translator: the
// face a missing family is substituted by (in any case: families match without
// regard to it), and nothing else changed.
void ApplicationTest::styleSheetsNameTheInstalledFace()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has SimSun and Arial itself: its style sheets are used as they are");
#endif
    QFETCH(QString, sheet);
    QFETCH(QString, expected);
    const InstalledFontTranslator translator;
    const QString translated = translator.translate("TfrmMain", sheet.toUtf8().constData());
    QCOMPARE(translated.isNull(), expected.isNull());
    QVERIFY2(translated.compare(expected, Qt::CaseInsensitive) == 0, qPrintable(translated));
}

void ApplicationTest::qtTextsAreChinese()
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm")))
        QSKIP("Qt's Chinese translation is not installed");
    installTranslations(*qApp, QLocale(QLocale::Chinese, QLocale::China));
    const auto english = qScopeGuard([] { installTranslations(*qApp, QLocale(QLocale::English)); });
    TemporaryHome home;
    TestableMainWindow main;
    std::unique_ptr<QMenu> menu(
        main.window.findChild<QLineEdit *>(QStringLiteral("edAnswer"))->createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator())
            texts.append(action->text());
    }
    QVERIFY(!texts.isEmpty());
    for (const QString &text : texts)
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\p{Han}"))), qPrintable(text));
}

// The confirmations keep their captions and texts; their buttons are Qt's own
// "&Yes" and "Cancel", in the language of the system where Qt has a translation
// of it (one installed after another replaces it).
void ApplicationTest::confirmationBoxesKeepTheirTexts_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("locales"); // installed in turn, the last one counts
    QTest::addColumn<QStringList>("buttons");
    const QStringList english{QStringLiteral("&Yes"), QStringLiteral("Cancel")};
    const QStringList chinese{QStringLiteral("是(&Y)"), QStringLiteral("取消")};
    const auto rows = [&](const char *name, int which, const QString &title, QMessageBox::Icon icon,
                          const QString &text) {
        const auto row = [&](const char *locales, const QStringList &buttons) {
            QTest::addRow("%s, %s", name, locales)
                << which << title << int(icon) << text << QString::fromLatin1(locales).split(u' ') << buttons;
        };
        row("en_US", english);
        row("zh_CN", chinese);
        row("zh_CN en_GB", english);
        row("de_DE zh_CN", chinese);
    };
    rows("new question", 0, QStringLiteral("Confirm"), QMessageBox::Question, QStringLiteral("是否要开始新问题？"));
    rows("clear", 1, QStringLiteral("Warning"), QMessageBox::Warning,
         QStringLiteral("清空将会删除以前所有的问题及回答记录。是否要继续？"));
}

void ApplicationTest::confirmationBoxesKeepTheirTexts()
{
    QFETCH(int, which);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QString, text);
    QFETCH(QStringList, locales);
    QFETCH(QStringList, buttons);
    if (locales.contains(QStringLiteral("zh_CN"))
        && !QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm")))
        QSKIP("Qt's Chinese translation is not installed");
    for (const QString &locale : locales)
        installTranslations(*qApp, QLocale(locale));
    const auto english = qScopeGuard([] { installTranslations(*qApp, QLocale(QLocale::English)); });
    QStringList seen;
    QTimer::singleShot(0, this, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen << box->windowTitle() << QString::number(box->icon()) << box->text()
             << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::Cancel)->text()
             << QString::number(box->defaultButton() == box->button(QMessageBox::Yes));
        box->button(QMessageBox::Cancel)->click();
    });
    const bool confirmed = which == 0 ? MessageBoxes::confirmNewQuestion(nullptr)
                                      : MessageBoxes::confirmClearAll(nullptr);
    QVERIFY(!confirmed);
    QCOMPARE(seen, (QStringList{title, QString::number(icon), text} + buttons + QStringList{QStringLiteral("1")}));
}

void ApplicationTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // how standard output begins
    QTest::addColumn<QString>("error");  // what standard error holds

    const QString version = QStringLiteral("Zorvel " ZORVEL_VERSION "\n");
    const QString usage = QStringLiteral("Usage: zorvel [options]\n");
    const auto row = [](const char *name, const QStringList &options, bool runs, int exitCode,
                        const QString &output = QString(), const QString &error = QString()) {
        QTest::newRow(name) << QStringList{QStringLiteral("/usr/bin/zorvel")} + options << runs << exitCode << output
                            << error;
    };
    row("no options: the window opens", {}, true, 0);
    row("other arguments are left alone, as always", {QStringLiteral("notes.txt")}, true, 0);
    row("--version", {QStringLiteral("--version")}, false, 0, version);
    row("-v", {QStringLiteral("-v")}, false, 0, version);
    row("-version, as Qt writes its own", {QStringLiteral("-version")}, false, 0, version);
    row("--help", {QStringLiteral("--help")}, false, 0, usage);
    row("-h", {QStringLiteral("-h")}, false, 0, usage);
    row("help before version", {QStringLiteral("--version"), QStringLiteral("--help")}, false, 0, usage);
    row("unknown long option", {QStringLiteral("--frobnicate")}, false, 2, QString(),
        QStringLiteral("zorvel: unknown option 'frobnicate'; 'zorvel --help' lists the options.\n"));
    row("unknown short option", {QStringLiteral("-x")}, false, 2, QString(), QStringLiteral("'x'"));
    row("an error wins over help", {QStringLiteral("--help"), QStringLiteral("--frobnicate"), QStringLiteral("-y")},
        false, 2, QString(), QStringLiteral("unknown options 'frobnicate', 'y'"));
    row("a value where none belongs", {QStringLiteral("--version=2")}, false, 2, QString(),
        QStringLiteral("--version"));
}

void ApplicationTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, runs);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);
    const CommandLineOutcome outcome = readCommandLine(arguments);
    QCOMPARE(outcome.runs, runs);
    QCOMPARE(outcome.exitCode, exitCode);
    QVERIFY2(outcome.output.startsWith(output), qPrintable(outcome.output));
    QCOMPARE(outcome.output.isEmpty(), output.isEmpty());
    QVERIFY2(outcome.error.contains(error), qPrintable(outcome.error));
    QCOMPARE(outcome.error.isEmpty(), error.isEmpty());
    if (outcome.output.startsWith(QStringLiteral("Usage")))
        QVERIFY(outcome.output.contains(QStringLiteral("--version")));
}

void ApplicationTest::commandLineSpeaksTheSystemLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("says"); // on standard output or error
    const auto row = [](const char *locale, const char *option, const char *says) {
        QTest::addRow("%s %s", locale, option)
            << QString::fromLatin1(locale) << QString::fromLatin1(option) << QString::fromUtf8(says);
    };
    row("zh_CN", "--help", "用法：zorvel [选项]");
    row("zh_CN", "--help", "显示本帮助，然后结束。");
    row("zh_CN", "--frobnicate", "zorvel：未知选项 'frobnicate'；");
    row("zh_TW", "--help", "用法：zorvel [选项]");
    row("en_US", "--help", "Usage: zorvel [options]");
    row("en_US", "--frobnicate", "zorvel: unknown option 'frobnicate';");
    row("de_DE", "--help", "Shows this help and ends.");
}

// The command line's own texts follow the locale, Chinese for any Chinese one
// and English otherwise, whatever the locale before.
void ApplicationTest::commandLineSpeaksTheSystemLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QString, option);
    QFETCH(QString, says);
    installTranslations(*qApp, QLocale(QStringLiteral("zh_CN")));
    installTranslations(*qApp, QLocale(locale));
    const auto english = qScopeGuard([] { installTranslations(*qApp, QLocale(QLocale::English)); });
    const CommandLineOutcome outcome = readCommandLine({QStringLiteral("zorvel"), option});
    QVERIFY2((outcome.output + outcome.error).contains(says), qPrintable(outcome.output + outcome.error));
}

// Where no QApplication can be made, Qt's own options are set aside by hand.
void ApplicationTest::qtOptionsBeforeTheApplication_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<bool>("namesPlatform");
    const auto list = [](const char *arguments) {
        return QString::fromLatin1(arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
    const auto row = [&list](const char *arguments, const char *remaining, bool namesPlatform) {
        QTest::newRow(arguments) << list(arguments) << list(remaining) << namesPlatform;
    };
    row("zorvel", "zorvel", false);
    row("zorvel -style fusion --version", "zorvel --version", false);
    row("zorvel --style fusion -session abc -reverse", "zorvel", false);
    row("zorvel -style=fusion -stylesheet=a.qss -qmljsdebugger=port:1 -h", "zorvel -h", false);
    row("zorvel -platform offscreen --frobnicate", "zorvel --frobnicate", true);
    row("zorvel -display :1", "zorvel", true);
    row("zorvel --version -platform", "zorvel --version", false);
    row("zorvel -plugin evdevtouch notes.txt -widgetcount", "zorvel notes.txt", false);
    row("-style -style fusion", "-style", false); // the program's own name is no option
}

void ApplicationTest::qtOptionsBeforeTheApplication()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, remaining);
    QFETCH(bool, namesPlatform);
    QCOMPARE(withoutQtOptions(arguments), remaining);
    QCOMPARE(namesPlatformOrDisplay(arguments), namesPlatform);
}

// QT_QPA_PLATFORM as users' profiles set it: a platform that needs a display
// of its kind aborts without one; the others start anywhere.
void ApplicationTest::platformNeedsItsDisplay_data()
{
    QTest::addColumn<QString>("platforms");
    QTest::addColumn<bool>("x11");
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<bool>("starts");
    QTest::newRow("default, no display") << QString() << false << false << false;
    QTest::newRow("default, X11") << QString() << true << false << true;
    QTest::newRow("default, Wayland") << QString() << false << true << true;
    QTest::newRow("xcb, no display") << QStringLiteral("xcb") << false << false << false;
    QTest::newRow("xcb, Wayland only") << QStringLiteral("xcb") << false << true << false;
    QTest::newRow("xcb, X11") << QStringLiteral("xcb") << true << false << true;
    QTest::newRow("wayland, X11 only") << QStringLiteral("wayland") << true << false << false;
    QTest::newRow("wayland-egl, Wayland") << QStringLiteral("wayland-egl") << false << true << true;
    QTest::newRow("wayland then xcb, X11") << QStringLiteral("wayland;xcb") << true << false << true;
    QTest::newRow("xcb with options, no display") << QStringLiteral("xcb:nomitshm") << false << false << false;
    QTest::newRow("offscreen") << QStringLiteral("offscreen") << false << false << true;
    QTest::newRow("vnc with options") << QStringLiteral("vnc:size=800x600") << false << false << true;
    QTest::newRow("only separators") << QStringLiteral(";") << false << false << false;
}

void ApplicationTest::platformNeedsItsDisplay()
{
    QFETCH(QString, platforms);
    QFETCH(bool, x11);
    QFETCH(bool, wayland);
    QFETCH(bool, starts);
    QCOMPARE(platformHasDisplay(platforms, x11, wayland), starts);
}

ZORVEL_WIDGET_TEST_MAIN(ApplicationTest)
#include "tst_application.moc"
