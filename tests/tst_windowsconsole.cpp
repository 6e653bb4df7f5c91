// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/filecreation.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <qt_windows.h>

#include <string>

namespace {

// Starts the program as a Command Prompt starts a GUI program: no standard
// handles of its own and no console, only the console of its parent. Returns
// the exit code, or -1 when it did not end in time.
int runFromConsole(const QStringList &arguments)
{
    std::wstring commandLine = L"\"" + QDir::toNativeSeparators(QStringLiteral(ZORVEL_PROGRAM)).toStdWString() + L"\"";
    for (const QString &argument : arguments)
        commandLine += L" \"" + argument.toStdWString() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD exitCode = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(exitCode);
}

// Everything the console shows, line by line, trailing blanks removed.
QString consoleText()
{
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    QStringList lines;
    if (console != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(console, &info)) {
        std::wstring line(size_t(info.dwSize.X), L' ');
        for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
            DWORD read = 0;
            ReadConsoleOutputCharacterW(console, line.data(), DWORD(line.size()), COORD{0, row}, &read);
            lines.append(QString::fromWCharArray(line.data(), int(read)).trimmed());
        }
    }
    if (console != INVALID_HANDLE_VALUE)
        CloseHandle(console);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

// zorvel.exe is a GUI program: started from a console it must answer there,
// --help and --version as well as the history commands, and where its output is
// redirected, into the file or pipe instead. Its arguments are read in full,
// whatever the system's code page.
class WindowsConsoleTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answersOnTheConsoleThatStartedIt_data();
    void answersOnTheConsoleThatStartedIt();
    void redirectedOutputStaysRedirected_data();
    void redirectedOutputStaysRedirected();
    void namesOutsideTheCodePageReachTheProgram_data();
    void namesOutsideTheCodePageReachTheProgram();

private:
    QString history() const { return m_folder.filePath(QStringLiteral("Zorvel.mdb")); }

    QTemporaryDir m_folder;
};

void WindowsConsoleTest::initTestCase()
{
    // A console of this test's own, whatever the test was started from.
    FreeConsole();
    QVERIFY(AllocConsole());
    QVERIFY(m_folder.isValid());
    EnsureDatabaseFile(history());
    qInfo("the system's code page is %u", GetACP());
}

void WindowsConsoleTest::answersOnTheConsoleThatStartedIt_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("shown");

    QTest::newRow("version") << QStringList{QStringLiteral("--version")} << 0
                             << QStringLiteral("Zorvel %1").arg(QStringLiteral(ZORVEL_VERSION));
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << QStringLiteral("Usage: zorvel [options]");
    QTest::newRow("unknown option, on standard error")
        << QStringList{QStringLiteral("--frobnicate")} << 2 << QStringLiteral("unknown option 'frobnicate'");
    const QString data = QDir::toNativeSeparators(history());
    const QString copy = QDir::toNativeSeparators(m_folder.filePath(QStringLiteral("copy.mdb")));
    QTest::newRow("a backup") << QStringList{QStringLiteral("--data"), data, QStringLiteral("--backup"), copy} << 0
                              << QStringLiteral("Wrote a copy of the history");
    QTest::newRow("a refused restore, on standard error")
        << QStringList{QStringLiteral("--data"), data, QStringLiteral("--restore"),
                       QDir::toNativeSeparators(m_folder.filePath(QStringLiteral("missing.mdb")))}
        // The console wraps the long sentence at its width: its start is what is sure to stand whole.
        << 1 << QStringLiteral("zorvel: ");
}

void WindowsConsoleTest::answersOnTheConsoleThatStartedIt()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, shown);

    const QString before = consoleText();
    QCOMPARE(runFromConsole(arguments), exitCode);
    const QString after = consoleText();
    QVERIFY2(after.mid(before.size()).contains(shown), qPrintable(after));
}

void WindowsConsoleTest::redirectedOutputStaysRedirected_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("output");
    QTest::newRow("version") << QStringLiteral("--version")
                             << QStringLiteral("Zorvel %1\n").arg(QStringLiteral(ZORVEL_VERSION));
}

void WindowsConsoleTest::redirectedOutputStaysRedirected()
{
    QFETCH(QString, argument);
    QFETCH(QString, output);

    const QString before = consoleText();
    QProcess program;
    program.start(QStringLiteral(ZORVEL_PROGRAM), {argument});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(
        QString::fromLocal8Bit(program.readAllStandardOutput()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
        output);
    QCOMPARE(consoleText(), before);
}

void WindowsConsoleTest::namesOutsideTheCodePageReachTheProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Korean") << QStringLiteral("한글.csv");
    QTest::newRow("Chinese, with a space") << QStringLiteral("中文 备份.csv");
}

// Run under a Western code page (1252), where neither name has a narrow form.
void WindowsConsoleTest::namesOutsideTheCodePageReachTheProgram()
{
    QFETCH(QString, name);
    const QString file = m_folder.filePath(name);
    QProcess program;
    program.start(QStringLiteral(ZORVEL_PROGRAM),
                  {QStringLiteral("--data"), QDir::toNativeSeparators(history()), QStringLiteral("--export"),
                   QDir::toNativeSeparators(file)});
    QVERIFY(program.waitForFinished(30000));
    QVERIFY2(program.exitCode() == 0, program.readAllStandardError().constData());
    QCOMPARE(QDir(m_folder.path()).entryList({QStringLiteral("*.csv")}), QStringList{name});
    {
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("\xEF\xBB\xBF"));
    }
    QVERIFY(QFile::remove(file));
}

QTEST_GUILESS_MAIN(WindowsConsoleTest)
#include "tst_windowsconsole.moc"
