#include "widgettestmain.h"

#include "app/commandline.h"

#include <QtTest>

// The program's set-up before its first window: the command line.
class ApplicationTest : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void qtOptionsBeforeTheApplication_data();
    void qtOptionsBeforeTheApplication();
};

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
        QStringLiteral("zorvel: Unknown option 'frobnicate'.\nTry 'zorvel --help' for the options.\n"));
    row("unknown short option", {QStringLiteral("-x")}, false, 2, QString(), QStringLiteral("'x'"));
    row("an error wins over help", {QStringLiteral("--help"), QStringLiteral("--frobnicate")}, false, 2, QString(),
        QStringLiteral("'frobnicate'"));
    row("a value where none belongs", {QStringLiteral("--version=2")}, false, 2, QString(),
        QStringLiteral("Unexpected value after '--version'"));
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

ZORVEL_WIDGET_TEST_MAIN(ApplicationTest)
#include "tst_application.moc"
