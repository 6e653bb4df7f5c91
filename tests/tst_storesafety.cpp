// SPDX-License-Identifier: GPL-3.0-or-later
#include "databasefixture.h"
#include "fakeclock.h"
#include "temporaryhome.h"

#include "evaluate/thinkingindices.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/location.h"
#include "store/statements.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QtTest>

#include <algorithm>

using DatabaseFixture::count;
using DatabaseFixture::filesBeside;

namespace {

const char *const insideVariable = "ZORVEL_INSIDE_NAMESPACE";
const char *const homeVariable = "ZORVEL_NAMESPACE_HOME";
constexpr int mountRefused = 77;

bool insideNamespace()
{
    return qEnvironmentVariableIsSet(insideVariable);
}

// Inside the namespace, the home folder is the one the outer run prepared.
QString adoptHome()
{
    const QString home = qEnvironmentVariable(homeVariable);
    qputenv("HOME", home.toLocal8Bit());
    return home;
}

// The file must be one this program can use: complete, consistent, seeded.
void verifyGoodFile(const QString &path)
{
    Database db(QStringLiteral("check"));
    const QList<StartupNotice> notices = db.open(BuildConnectionString(path));
    QVERIFY2(notices.isEmpty(), qPrintable(notices.value(0).text));
    QVERIFY(db.isWritable());
    QCOMPARE(db.statements().scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    QCOMPARE(count(db, QStringLiteral("ci"), QStringLiteral("id <= 110")), 110);
    QCOMPARE(count(db, QStringLiteral("wtlx")), 23);
    // Every answer points at its question and its word, and every question counts its answers.
    QCOMPARE(count(db, QStringLiteral("hd"),
                   QStringLiteral("wtid NOT IN (SELECT id FROM wt) OR ciid NOT IN (SELECT id FROM ci)")),
             0);
    QCOMPARE(count(db, QStringLiteral("wt"),
                   QStringLiteral("coalesce(answer_count, 0) <> (SELECT count(*) FROM hd WHERE hd.wtid = wt.id)")),
             0);
}

bool noPartFiles(const QString &path)
{
    return filesBeside(path).filter(QStringLiteral(".part")).isEmpty();
}

} // namespace

// The history under the machine's faults: a full disk at the first start, a
// read-only file or folder, and a session killed at random moments. The first
// two need a mount of their own: the test runs itself again in a mount namespace
// (unshare), and skips where the machine cannot make one.
class StoreSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartOnAFullDisk();
    void clearOnAFullDiskKeepsEverything();
    void readOnlyHistoryIsShownNotChanged_data();
    void readOnlyHistoryIsShownNotChanged();
    void killedSessionsLeaveTheHistoryWhole();
    void damageInAnyPageIsFoundBeforeAWrite();

private:
    void runInNamespace(const QString &mounts, const QString &test, const QString &home);
    void fullDiskInside();
    void clearOnFullDiskInside();
    void readOnlyInside();

    std::unique_ptr<TemporaryHome> m_home;
};

void StoreSafetyTest::init()
{
    m_home = std::make_unique<TemporaryHome>();
}

void StoreSafetyTest::cleanup()
{
    m_home.reset();
}

// Runs `test` of this program again inside a mount namespace of its own (as root
// there, through a user namespace where possible), after the shell commands
// `mounts` have run in it with $ZORVEL_NAMESPACE_HOME set to `home`.
void StoreSafetyTest::runInNamespace(const QString &mounts, const QString &test, const QString &home)
{
#ifdef Q_OS_WIN
    Q_UNUSED(mounts);
    Q_UNUSED(test);
    Q_UNUSED(home);
    QSKIP("mount namespaces (unshare) are Linux's own; Windows has no such means");
#endif
    QStringList unshare{QStringLiteral("-rm")};
    if (QProcess::execute(QStringLiteral("unshare"), {QStringLiteral("-rm"), QStringLiteral("true")}) != 0) {
        unshare = {QStringLiteral("-m")};
        if (QProcess::execute(QStringLiteral("unshare"), {QStringLiteral("-m"), QStringLiteral("true")}) != 0)
            QSKIP("this machine cannot make a mount namespace (unshare -rm and unshare -m both fail)");
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(insideVariable), QStringLiteral("1"));
    environment.insert(QString::fromLatin1(homeVariable), home);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString script = mounts + QStringLiteral(" || exit %1\nexec \"$0\" \"$1\"").arg(mountRefused);
    child.start(QStringLiteral("unshare"),
                unshare
                    + QStringList{QStringLiteral("sh"), QStringLiteral("-c"), script,
                                  QCoreApplication::applicationFilePath(), test});
    QVERIFY(child.waitForFinished(240000));
    const QString output = QString::fromUtf8(child.readAll());
    if (child.exitCode() == mountRefused)
        QSKIP(qPrintable(QStringLiteral("the mount namespace refuses the mount: ") + output.trimmed()));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(output));
}

// A first start on a full file system, at many amounts of free space, so that
// every step of the creation runs out of space somewhere: it fails with the
// disk-full sentence and leaves no file, or a complete one. Once space is freed,
// the start makes a good file with the seed.
void StoreSafetyTest::firstStartOnAFullDisk()
{
    if (insideNamespace()) {
        fullDiskInside();
        return;
    }
    const QString home = m_home->path() + QStringLiteral("/small");
    QVERIFY(QDir().mkpath(home));
    runInNamespace(
        QStringLiteral("mount -t tmpfs -o size=512k zorvel-full \"$%1\"").arg(QLatin1StringView(homeVariable)),
        QStringLiteral("firstStartOnAFullDisk"), home);
}

void StoreSafetyTest::fullDiskInside()
{
    const QString home = adoptHome();
    const QString filler = home + QStringLiteral("/filler");
    int refused = 0;
    int opened = 0;
    for (qint64 free = 0; free <= 160 * 1024; free += 4096) {
        // A log left by a crash is set aside first; a start that then fails still tells where.
        const bool orphanedLog = free == 0;
        if (orphanedLog)
            QVERIFY(DatabaseFixture::writeBytes(GetDatabasePath() + QStringLiteral("-wal"), "left by a crash"));
        QStorageInfo storage(home);
        storage.refresh();
        QVERIFY(DatabaseFixture::writeBytes(filler, QByteArray(storage.bytesAvailable() - free, 'x')));

        const QString path = GetDatabasePath();
        {
            Database db;
            try {
                OpenDatabase(db);
                ++opened;
            } catch (const DatabaseError &error) {
                ++refused;
                QVERIFY2(error.summary().contains(QStringLiteral("磁盘空间不足")), qPrintable(error.text()));
                QCOMPARE(error.summary().contains(QStringLiteral("Zorvel.mdb-wal.set-aside-")), orphanedLog);
                QVERIFY2(noPartFiles(path), qPrintable(filesBeside(path).join(u' ')));
                if (error.summary().contains(QStringLiteral("无法创建")))
                    QVERIFY2(!QFileInfo::exists(path), qPrintable(error.text()));
            }
        }
        QVERIFY(QFile::remove(filler));
        try {
            Database again(QStringLiteral("again"));
            OpenDatabase(again);
        } catch (const DatabaseError &error) {
            QFAIL(qPrintable(error.text()));
        }
        verifyGoodFile(path);
        if (QTest::currentTestFailed()) {
            qInfo("with %lld bytes free", free);
            return;
        }
        QVERIFY(QDir(QFileInfo(path).path()).removeRecursively());
    }
    qInfo("first starts on a full disk: %d refused, %d opened", refused, opened);
    QVERIFY(refused > 0);
    QVERIFY(opened > 0);
}

// The clear writes its backup first; on a full disk it stops there with a
// message, and the history keeps every question and answer.
void StoreSafetyTest::clearOnAFullDiskKeepsEverything()
{
    if (insideNamespace()) {
        clearOnFullDiskInside();
        return;
    }
    const QString home = m_home->path() + QStringLiteral("/small");
    QVERIFY(QDir().mkpath(home));
    runInNamespace(QStringLiteral("mount -t tmpfs -o size=1m zorvel-full \"$%1\"").arg(QLatin1StringView(homeVariable)),
                   QStringLiteral("clearOnAFullDiskKeepsEverything"), home);
}

void StoreSafetyTest::clearOnFullDiskInside()
{
    const QString home = adoptHome();
    const QString filler = home + QStringLiteral("/filler");
    Database db;
    FakeClock clock;
    RandomSource random(3);
    TrainingEngine engine(db, clock, random);
    engine.start();
    for (int q = 0; q < 5; ++q) {
        engine.startNewQuestion();
        for (const QString &answer : {QStringLiteral("写字"), QStringLiteral("画画"), QStringLiteral("送人")}) {
            clock.advance(5);
            engine.submitAnswer(answer);
        }
    }
    const QString before = DatabaseFixture::dump(db);
    const QString backups = QFileInfo(db.filePath()).path() + QStringLiteral("/backups");
    for (qint64 free : {qint64(0), qint64(8 * 1024), qint64(32 * 1024)}) {
        QStorageInfo storage(home);
        storage.refresh();
        QVERIFY(DatabaseFixture::writeBytes(filler, QByteArray(storage.bytesAvailable() - free, 'x')));
        try {
            engine.clearAllRecords();
            QFAIL("the clear went on without its backup");
        } catch (const DatabaseError &error) {
            QVERIFY2(error.summary().contains(QStringLiteral("没有删除任何记录")), qPrintable(error.text()));
        }
        QCOMPARE(DatabaseFixture::dump(db), before);
        QVERIFY2(QDir(backups).entryList(QDir::Files).isEmpty(), qPrintable(QDir(backups).entryList().join(u' ')));
        QVERIFY(QFile::remove(filler));
    }
    engine.clearAllRecords();
    const QStringList made = QDir(backups).entryList(QDir::Files);
    QCOMPARE(made.size(), 1);
    verifyGoodFile(backups + u'/' + made.first());
    Database copy(QStringLiteral("copy"));
    copy.open(BuildConnectionString(backups + u'/' + made.first()), Database::Untouched);
    QCOMPARE(DatabaseFixture::dump(copy), before);
    engine.finish();
}

void StoreSafetyTest::readOnlyHistoryIsShownNotChanged_data()
{
    QTest::addColumn<bool>("wholeFolder");
    QTest::addColumn<bool>("pendingLog");
    QTest::newRow("read-only file") << false << false;
    QTest::newRow("read-only folder") << true << false;
    QTest::newRow("read-only file, answers in its log") << false << true;
    QTest::newRow("read-only folder, answers in its log") << true << true;
}

namespace {

void answerQuestions(const QStringList &answers, bool leaveInLog)
{
    const QString path = databaseFileLocation();
    DatabaseFixture::CrashState crashed;
    {
        Database db;
        FakeClock clock;
        RandomSource random(11);
        TrainingEngine engine(db, clock, random);
        engine.start();
        for (const QString &answer : answers) {
            engine.startNewQuestion();
            clock.advance(3);
            engine.submitAnswer(answer);
        }
        if (leaveInLog) // killed: the log keeps what no checkpoint has copied yet
            crashed = DatabaseFixture::takeCrashState(path);
        else
            engine.finish();
    }
    if (leaveInLog)
        DatabaseFixture::restoreCrashState(path, crashed);
}

} // namespace

// The start says the file is read-only and opens it read-only and immutable: the
// evaluation still shows the history, a command that would write says why it
// cannot, and nothing is made or changed beside the file.
void StoreSafetyTest::readOnlyHistoryIsShownNotChanged()
{
    if (insideNamespace()) {
        readOnlyInside();
        return;
    }
    QFETCH(bool, wholeFolder);
    QFETCH(bool, pendingLog);
    const QString path = GetDatabasePath();
    answerQuestions({QStringLiteral("桌子"), QStringLiteral("亮晶晶"), QStringLiteral("擦地板")}, false);
    if (pendingLog)
        answerQuestions({QStringLiteral("灯笼"), QStringLiteral("跳绳")}, true);
    QVERIFY(DatabaseFixture::writeBytes(path + QStringLiteral(".Qw3Er4.part"), "left by a creation"));
    const QByteArray before = DatabaseFixture::fileBytes(path);
    const QByteArray logBefore = DatabaseFixture::fileBytes(path + QStringLiteral("-wal"));
    QCOMPARE(logBefore.isEmpty(), !pendingLog);
    const QStringList filesBefore = filesBeside(path);
    const QString target = wholeFolder ? QFileInfo(path).path() : path;
    const QString mounts = QStringLiteral("mount --bind \"%1\" \"%1\" && mount -o remount,bind,ro \"%1\" \"%1\"")
                               .arg(target);
    runInNamespace(mounts,
                   QStringLiteral("readOnlyHistoryIsShownNotChanged:") + QString::fromLatin1(QTest::currentDataTag()),
                   m_home->path());
    QCOMPARE(DatabaseFixture::fileBytes(path), before);
    QCOMPARE(DatabaseFixture::fileBytes(path + QStringLiteral("-wal")), logBefore);
    QCOMPARE(filesBeside(path), filesBefore);
}

void StoreSafetyTest::readOnlyInside()
{
    adoptHome();
    Database db;
    FakeClock clock;
    RandomSource random(11);
    TrainingEngine engine(db, clock, random);
    const QList<StartupNotice> notices = engine.start();
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.first().kind, StartupNotice::Warning);
    QVERIFY2(notices.first().text.contains(QStringLiteral("只读")), qPrintable(notices.first().text));
    QCOMPARE(db.access(), Database::ReadOnly);
    ThinkingIndices indices;
    ComputeThinkingIndices(db, indices);
    // Everything the file and its log hold, read from a private copy.
    QFETCH(bool, pendingLog);
    QCOMPARE(count(db, QStringLiteral("wt")), pendingLog ? 5 : 3);
    QCOMPARE(count(db, QStringLiteral("hd")), pendingLog ? 5 : 3);
    try {
        engine.startNewQuestion();
        QFAIL("a read-only file was written to");
    } catch (const DatabaseError &error) {
        QVERIFY2(error.summary().contains(QStringLiteral("只读")), qPrintable(error.text()));
    }
    engine.finish();
}

// A session answering as fast as its clock allows is killed (SIGKILL) at about
// thirty moments drawn from a fixed seed (ZORVEL_KILLS asks for more, and
// ZORVEL_KILL_AFTER_MS puts them later, where starting a process is slow), some
// of them while it creates its file.
// After each: the file passes the integrity check, every answer points at its
// question and word, every question counts its answers, no committed answer is
// lost, and the engine starts on the file again.
void StoreSafetyTest::killedSessionsLeaveTheHistoryWhole()
{
    const int kills = std::max(30, qEnvironmentVariableIntValue("ZORVEL_KILLS"));
    const int later = qEnvironmentVariableIntValue("ZORVEL_KILL_AFTER_MS");
    RandomSource moments(20240611);
    const QString path = GetDatabasePath();
    int answersBefore = 0;
    int answersCommitted = 0;
    int killedWhileCreating = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const bool fromScratch = kill % 6 == 0;
        if (fromScratch) {
            QVERIFY(QDir(QFileInfo(path).path()).removeRecursively());
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            answersBefore = 0;
        }
        QProcess child;
        child.start(QStringLiteral(TRAINING_CHILD),
                    {QStringLiteral("--seed"), QString::number(kill), QStringLiteral("--report-each")});
        QVERIFY(child.waitForStarted(60000));
        child.waitForFinished(later + (fromScratch ? moments.RandomInRange(0, 120) : moments.RandomInRange(30, 600)));
        child.kill();
        QVERIFY(child.waitForFinished(60000));
        // Windows ends the child's lines with \r\n.
        const QString output = QString::fromUtf8(child.readAllStandardOutput()).remove(u'\r');
        QVERIFY2(!output.contains(QStringLiteral("failed")), qPrintable(output));
        const QRegularExpressionMatch lastReport = QRegularExpression(
                                                       QStringLiteral("accepted (\\d+)\\n(?!.*accepted)"),
                                                       QRegularExpression::DotMatchesEverythingOption)
                                                       .match(output);
        const int reported = lastReport.hasMatch() ? lastReport.captured(1).toInt() : 0;

        if (!QFileInfo::exists(path)) {
            ++killedWhileCreating;
            QCOMPARE(reported, 0);
        } else {
            verifyGoodFile(path);
            if (QTest::currentTestFailed())
                return;
        }
        Database db(QStringLiteral("again"));
        FakeClock clock;
        RandomSource random(1);
        TrainingEngine engine(db, clock, random);
        QVERIFY(engine.start().isEmpty());
        engine.checkHistoryInBackground({});
        QVERIFY(engine.historyChecked().isEmpty());
        QVERIFY(db.isWritable());
        const int answers = count(db, QStringLiteral("hd"));
        QVERIFY2(answers >= answersBefore + reported && answers <= answersBefore + reported + 1,
                 qPrintable(QStringLiteral("kill %1: %2 answers in the file, %3 before and %4 reported")
                                .arg(kill)
                                .arg(answers)
                                .arg(answersBefore)
                                .arg(reported)));
        QCOMPARE(count(db, QStringLiteral("wt"), QStringLiteral("id NOT IN (SELECT wtid FROM hd)")), 0);
        QVERIFY(noPartFiles(path));
        engine.finish();
        answersCommitted += answers - answersBefore;
        answersBefore = answers;
    }
    qInfo("%d kills (%d before the file was in place): %d answers committed, none lost, every file whole", kills,
          killedWhileCreating, answersCommitted);
}

// One page of a real history at a time is overwritten with junk, as a failing
// disk might. The start reads the whole file in the background before its first
// write: either the damage is found and nothing at all is written (no question,
// no answer, not a byte), or it lay where nothing reads it and the file is still
// whole after the question and its answer.
void StoreSafetyTest::damageInAnyPageIsFoundBeforeAWrite()
{
    const QString path = GetDatabasePath();
    QStringList answers;
    for (int i = 0; i < 1500; ++i)
        answers << QStringLiteral("灯%1").arg(QChar(0x4E00 + i));
    answerQuestions(answers, false);
    const QByteArray pristine = DatabaseFixture::fileBytes(path);
    constexpr int pageSize = 4096;
    const int pages = int(pristine.size() / pageSize);
    int found = 0;
    int harmless = 0;
    for (int page = 2; page <= pages; ++page) {
        QByteArray damaged = pristine;
        damaged.replace(qsizetype(page - 1) * pageSize, pageSize, QByteArray(pageSize, '\xEE'));
        QVERIFY(DatabaseFixture::writeBytes(path, damaged));
        bool written = false;
        {
            Database db;
            FakeClock clock;
            RandomSource random(page);
            TrainingEngine engine(db, clock, random);
            try {
                engine.start();
                engine.checkHistoryInBackground({});
                engine.startNewQuestion();
                clock.advance(3);
                engine.submitAnswer(QStringLiteral("跳绳"));
                written = true;
                engine.finish();
            } catch (const DatabaseError &error) {
                QVERIFY2(error.summary().contains(QStringLiteral("已损坏")), qPrintable(error.text()));
            }
        }
        if (written) {
            ++harmless;
            Database check(QStringLiteral("check"));
            check.open(BuildConnectionString(path));
            QCOMPARE(check.statements().scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                     QStringLiteral("ok"));
        } else {
            ++found;
            QVERIFY2(DatabaseFixture::fileBytes(path) == damaged, qPrintable(QStringLiteral("page %1").arg(page)));
        }
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
    }
    qInfo("%d pages overwritten one at a time: %d found before any write, %d harmless", pages - 1, found, harmless);
    QVERIFY(found > 0);
}

QTEST_GUILESS_MAIN(StoreSafetyTest)
#include "tst_storesafety.moc"
