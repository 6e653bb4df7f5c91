// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgettestmain.h"
#include "temporaryhome.h"

#include "app/filelock.h"
#include "app/singleinstance.h"
#include "store/location.h"
#include "widgets/messageboxes.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QMainWindow>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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
    void everyStartMeetsTheFilesLock();
    void junkNeverLocksTheUserOut_data();
    void junkNeverLocksTheUserOut();
    void windowsGuardHoldsWhateverTheName_data();
    void windowsGuardHoldsWhateverTheName();
    void lockAndSocketAreTheUsersAlone();
    void anotherUsersSocketIsNotBelieved();
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
    QThread *later = QThread::create([&] { claim = SingleInstance(path).claim(60s); });
    later->start();
    QTRY_VERIFY_WITH_TIMEOUT(later->isFinished(), 90000);
    delete later;
    QCOMPARE(claim.load(), int(SingleInstance::HandedOver));
    QCOMPARE(requests.size(), 1);
}

void SingleInstanceTest::unreachableFirstIsToldAndTheStartEnds()
{
    const QString path = databaseFileLocation();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    FileLock holder(SingleInstance::lockFilePath(path)); // held, but nobody listens
    QCOMPARE(holder.tryLock(), FileLock::Locked);
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

// Two starts on one file with different runtime folders (a terminal and a
// desktop session) meet the same lock: the second never becomes a writer.
void SingleInstanceTest::everyStartMeetsTheFilesLock()
{
    const QString path = databaseFileLocation();
    SingleInstance first(path);
    QCOMPARE(first.claim(0ms), SingleInstance::First);
    QTemporaryDir otherRuntime;
    qputenv("XDG_RUNTIME_DIR", otherRuntime.path().toLocal8Bit());
    SingleInstance later(path);
    const SingleInstance::Claim claim = later.claim(0ms);
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    QVERIFY(claim != SingleInstance::First);
    QCOMPARE(QFileInfo(SingleInstance::lockFilePath(path)).path(), QFileInfo(path).path());
}

void SingleInstanceTest::junkNeverLocksTheUserOut_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("junk");
    for (const char *suffix : {".lock", ".socket"}) {
        for (const char *junk : {"folder", "dangling link", "link to a folder", "plain file", "listening socket"})
            QTest::newRow(
                qPrintable(QStringLiteral("%1 at %2").arg(QLatin1StringView(junk), QLatin1StringView(suffix))))
                << QString::fromLatin1(suffix) << QString::fromLatin1(junk);
    }
}

// Whatever lies at the lock's or the socket's path, a start whose lock is free
// goes on (it never ends on a socket's word), and a second start still finds
// the first.
void SingleInstanceTest::junkNeverLocksTheUserOut()
{
    QFETCH(QString, suffix);
    QFETCH(QString, junk);
    const QString path = databaseFileLocation();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const QString target = path + suffix;
    QLocalServer squatter; // answers every request as a first start would
    connect(&squatter, &QLocalServer::newConnection, &squatter, [&squatter] {
        QLocalSocket *socket = squatter.nextPendingConnection();
        socket->write("ok\n");
        socket->flush();
    });
    if (junk == QStringLiteral("folder"))
        QVERIFY(QDir().mkpath(target + QStringLiteral("/inside")));
    else if (junk == QStringLiteral("dangling link"))
        QVERIFY(QFile::link(m_home->path() + QStringLiteral("/nowhere"), target));
    else if (junk == QStringLiteral("link to a folder"))
        QVERIFY(QFile::link(m_home->path(), target));
    else if (junk == QStringLiteral("plain file"))
        QVERIFY(QFile(target).open(QIODevice::WriteOnly));
    else
        QVERIFY(squatter.listen(target));

    SingleInstance first(path);
    QCOMPARE(first.claim(300ms), SingleInstance::First);
    SingleInstance later(path);
    QVERIFY(later.claim(0ms) != SingleInstance::First);
}

void SingleInstanceTest::windowsGuardHoldsWhateverTheName_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the lock file deleted while held") << QStringLiteral("delete");
    QTest::newRow("the same file named in another case") << QStringLiteral("case");
}

// On Windows the lock file cannot be deleted under a running Zorvel, and the
// file system's indifference to case reaches the mutex and the pipe's name.
void SingleInstanceTest::windowsGuardHoldsWhateverTheName()
{
#ifndef Q_OS_WIN
    QSKIP("Windows' own guard: its share modes, its mutex and its case-blind file names");
#endif
    QFETCH(QString, how);
    const QString path = databaseFileLocation();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    SingleInstance first(path);
    QCOMPARE(first.claim(0ms), SingleInstance::First);
    const QString lock = SingleInstance::lockFilePath(path);
    QString later = path;
    if (how == QStringLiteral("delete")) {
        QVERIFY(!QFile::remove(lock));
        QVERIFY(QFileInfo::exists(lock));
    } else {
        later = QFileInfo(path).path().toUpper() + QStringLiteral("/zorvel.MDB");
        QCOMPARE(SingleInstance::serverNames(later), SingleInstance::serverNames(path));
    }
    FileLock second(SingleInstance::lockFilePath(later));
    QCOMPARE(second.tryLock(), FileLock::HeldElsewhere);
}

void SingleInstanceTest::lockAndSocketAreTheUsersAlone()
{
#ifdef Q_OS_WIN
    QSKIP("Windows guards the files by their folder's access list, and the pipe by its user");
#endif
    const QString path = databaseFileLocation();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile older(SingleInstance::lockFilePath(path)); // left world-readable by an earlier version
    QVERIFY(older.open(QIODevice::WriteOnly));
    QVERIFY(older.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    older.close();
    SingleInstance first(path);
    QCOMPARE(first.claim(0ms), SingleInstance::First);
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(SingleInstance::lockFilePath(path)) & others, QFile::Permissions());
    const QString socket = SingleInstance::serverNames(path).value(0);
    QVERIFY(QFileInfo::exists(socket));
    QCOMPARE(QFile::permissions(socket) & others, QFile::Permissions());
}

// A socket made by another user at the path where the first start listens is
// never taken for the first start. Needs a second user: made (and removed) only
// when the test runs as root.
void SingleInstanceTest::anotherUsersSocketIsNotBelieved()
{
#ifdef Q_OS_UNIX
    if (::geteuid() != 0)
        QSKIP("a second user can only be made as root");
    const QString user = QStringLiteral("zorveltest%1").arg(QCoreApplication::applicationPid() % 100000);
    if (QProcess::execute(QStringLiteral("useradd"), {QStringLiteral("-M"), QStringLiteral("-N"), user}) != 0)
        QSKIP("useradd cannot make a second user here");
    const auto removeUser = qScopeGuard([&user] { QProcess::execute(QStringLiteral("userdel"), {user}); });
    const QString path = databaseFileLocation();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    FileLock holder(SingleInstance::lockFilePath(path)); // a first start that does not answer
    QCOMPARE(holder.tryLock(), FileLock::Locked);
    const QString socket = SingleInstance::serverNames(path).value(0);
    QVERIFY(!socket.isEmpty());
    // A folder the other user can reach and write in, as a shared folder would be.
    const QFile::Permissions reachable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup
        | QFile::ExeOther;
    for (const QString &folder :
         {m_home->path(), m_home->path() + QStringLiteral("/.local"), m_home->path() + QStringLiteral("/.local/share")})
        QVERIFY(QFile::setPermissions(folder, reachable));
    QVERIFY(QFile::setPermissions(QFileInfo(path).path(), QFile::Permissions(0x7777)));
    QProcess squatter; // the other user answers every request as a first start would
    squatter.start(QStringLiteral("setpriv"),
                   {QStringLiteral("--reuid=") + user, QStringLiteral("--regid=nogroup"),
                    QStringLiteral("--clear-groups"), QStringLiteral("/usr/bin/python3"), QStringLiteral("-c"),
                    QStringLiteral("import socket,os\ns=socket.socket(socket.AF_UNIX)\ns.bind(%1)\nos.chmod(%1,0o777)\n"
                                   "s.listen(8)\nprint('ready',flush=True)\nwhile True:\n c,_=s.accept();c.recv(64);"
                                   "c.sendall(b'ok\\n');c.close()")
                        .arg(QStringLiteral("'") + socket + QStringLiteral("'"))});
    const auto stopSquatter = qScopeGuard([&squatter] {
        squatter.kill();
        squatter.waitForFinished(5000);
    });
    if (!squatter.waitForReadyRead(60000))
        QSKIP(qPrintable(QStringLiteral("the other user's socket could not be made: ")
                         + QString::fromLocal8Bit(squatter.readAllStandardError())));
    SingleInstance later(path);
    QCOMPARE(later.claim(300ms), SingleInstance::Unreachable);
#else
    QSKIP("peer credentials are checked on Unix only");
#endif
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
    const QString socket = SingleInstance::serverNames(path).value(0);
    if (socket.isEmpty())
        QSKIP("the data folder's path is too long for a local socket here");
    const QString leftover = path + QStringLiteral(".Zz9Yy8.part");
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(QFile(leftover).open(QIODevice::WriteOnly));
    QProcess *first = startProgram();
    QVERIFY(first->waitForStarted(60000));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(leftover), 60000); // the first has started clean
#ifndef Q_OS_WIN
    QVERIFY(QFileInfo::exists(socket)); // a named pipe on Windows, not a file
#endif
    QVERIFY(QFile(leftover).open(QIODevice::WriteOnly));
    // The first answers from its event loop, which runs once its window is up:
    // a later start gives it a few seconds, so it starts only once the first
    // has answered this test.
    QCOMPARE(SingleInstance(path).claim(60s), SingleInstance::HandedOver);

    QProcess *later = startProgram();
    QVERIFY(later->waitForFinished(60000));
    QCOMPARE(later->exitStatus(), QProcess::NormalExit);
    QCOMPARE(later->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);
    QVERIFY(QFileInfo::exists(leftover));

    first->kill(); // SIGKILL: the lock and the socket stay behind
    QVERIFY(first->waitForFinished(60000));
    QVERIFY(QFileInfo::exists(SingleInstance::lockFilePath(path)));
    QProcess *next = startProgram();
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(leftover), 60000);
    QCOMPARE(next->state(), QProcess::Running);
}

ZORVEL_WIDGET_TEST_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
