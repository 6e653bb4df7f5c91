// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgettestmain.h"
#include "temporaryhome.h"

#include "app/singleinstance.h"
#include "store/location.h"
#include "widgets/messageboxes.h"

#include <QLockFile>
#include <QMainWindow>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>

using namespace std::chrono_literals;

// One running Zorvel per data file: in process with two claimants, and with the
// real program.
class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void laterStartHandsOverToTheFirst();
    void unreachableFirstIsToldAndTheStartEnds();
    void otherDataFilesDoNotMeet();
    void minimisedWindowComesToTheFront();
    void programStartsOncePerDataFile();

private:
    QProcess *startProgram();

    QTemporaryDir m_runtime;
    std::unique_ptr<TemporaryHome> m_home;
    QList<QProcess *> m_programs;
};

void SingleInstanceTest::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    MessageBoxes::scriptAnswers({});
}

void SingleInstanceTest::init()
{
    m_home = std::make_unique<TemporaryHome>();
    MessageBoxes::clearShownTexts();
}

void SingleInstanceTest::cleanup()
{
    for (QProcess *program : std::as_const(m_programs)) {
        program->kill();
        program->waitForFinished(5000);
        delete program;
    }
    m_programs.clear();
    m_home.reset();
}

void SingleInstanceTest::laterStartHandsOverToTheFirst()
{
    const QString path = databaseFileLocation();
    SingleInstance first(path);
    QCOMPARE(first.claim(0ms), SingleInstance::First);
    QSignalSpy requests(&first, &SingleInstance::activationRequested);

    // The later start blocks while it waits for an answer; the first answers from
    // its event loop, here the test's.
    std::atomic_int claim = -1;
    QThread *later = QThread::create([&] { claim = SingleInstance(path).claim(10s); });
    later->start();
    QTRY_VERIFY_WITH_TIMEOUT(later->isFinished(), 15000);
    delete later;
    QCOMPARE(claim.load(), int(SingleInstance::HandedOver));
    QCOMPARE(requests.size(), 1);
}

void SingleInstanceTest::unreachableFirstIsToldAndTheStartEnds()
{
    const QString path = databaseFileLocation();
    QLockFile holder(SingleInstance::lockFilePath(path)); // held, but nobody listens
    QVERIFY(holder.tryLock(0));
    SingleInstance later(path);
    QCOMPARE(later.claimOrHandOver(300ms), std::optional<int>(1));
    QCOMPARE(MessageBoxes::shownTexts().size(), 1);
    QVERIFY(MessageBoxes::shownTexts().first().contains(QStringLiteral("已经在运行")));
}

void SingleInstanceTest::otherDataFilesDoNotMeet()
{
    const QString path = databaseFileLocation();
    SingleInstance first(path);
    QCOMPARE(first.claim(0ms), SingleInstance::First);
    TemporaryHome otherHome;
    SingleInstance other(databaseFileLocation());
    QCOMPARE(other.claim(0ms), SingleInstance::First);
    QVERIFY(SingleInstance::lockFilePath(path) != SingleInstance::lockFilePath(databaseFileLocation()));
    // The same file, named through a link to its folder, is the same.
#ifdef Q_OS_WIN
    QSKIP("QFile::link makes a shortcut (.lnk) on Windows, which the file system does not follow");
#endif
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const QString link = m_home->path() + QStringLiteral("/link");
    QVERIFY(QFile::link(QFileInfo(path).path(), link));
    QCOMPARE(SingleInstance::lockFilePath(link + QStringLiteral("/Zorvel.mdb")), SingleInstance::lockFilePath(path));
}

void SingleInstanceTest::minimisedWindowComesToTheFront()
{
    QMainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showMinimized();
    QTRY_VERIFY(window.isMinimized());
    bringApplicationToFront();
    QVERIFY(!window.isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), &window);
}

QProcess *SingleInstanceTest::startProgram()
{
    auto *program = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_home->path());
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program->setProcessEnvironment(environment);
    program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program->start(QStringLiteral(ZORVEL_PROGRAM), QStringList());
    m_programs.append(program);
    return program;
}

// A later start ends at once without opening the database (it would have tidied
// away the leftover); after a crash of the first, the next start takes over.
void SingleInstanceTest::programStartsOncePerDataFile()
{
    const QString path = databaseFileLocation();
    const QString socket = SingleInstance::serverName(path);
    if (!QFileInfo(socket).isAbsolute())
        QSKIP("the runtime folder's path is too long for a local socket here");
    const QString leftover = path + QStringLiteral(".Zz9Yy8.part");
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(QFile(leftover).open(QIODevice::WriteOnly));
    QProcess *first = startProgram();
    QVERIFY(first->waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(leftover), 20000); // the first has started clean
    QVERIFY(QFileInfo::exists(socket));
    QVERIFY(QFile(leftover).open(QIODevice::WriteOnly));

    QProcess *later = startProgram();
    QVERIFY(later->waitForFinished(20000));
    QCOMPARE(later->exitStatus(), QProcess::NormalExit);
    QCOMPARE(later->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);
    QVERIFY(QFileInfo::exists(leftover));

    first->kill(); // SIGKILL: the lock and the socket stay behind
    QVERIFY(first->waitForFinished(5000));
    QVERIFY(QFileInfo::exists(SingleInstance::lockFilePath(path)));
    QProcess *next = startProgram();
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(leftover), 20000);
    QCOMPARE(next->state(), QProcess::Running);
}

ZORVEL_WIDGET_TEST_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
