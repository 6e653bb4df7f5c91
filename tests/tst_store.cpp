// SPDX-License-Identifier: GPL-3.0-or-later
#include "databasefixture.h"
#include "fakeclock.h"
#include "temporaryhome.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "store/filecreation.h"
#include "store/location.h"
#include "store/newfilemove.h"
#include "store/pathcheck.h"
#include "store/statements.h"
#include "store/storefailure.h"
#include "store/schema.h"
#include "store/sqliteuri.h"
#include "store/transaction.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"

#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>

#include <atomic>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

using DatabaseFixture::count;
using DatabaseFixture::filesBeside;
using DatabaseFixture::writeBytes;

namespace {

enum Outcome {
    Refused,
    Opened,
    OpenedDamaged
};

void insertWords(Database &db, int words)
{
    Transaction transaction(db);
    for (int i = 0; i < words; ++i)
        db.statements().execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, ?)"),
                                {QStringLiteral("词%1").arg(i)});
    transaction.commit();
}

void writeForeignDatabase(const QByteArray &kind, const QString &path)
{
    Database other(QStringLiteral("other"));
    other.open(BuildConnectionString(path), Database::NewFile);
    other.statements().execute(QStringLiteral("PRAGMA journal_mode = WAL"));
    other.statements().execute(QStringLiteral("CREATE TABLE notes (body TEXT)"));
    if (kind == "newer") {
        other.statements().execute(QStringLiteral("PRAGMA application_id = 1515345484"));
        other.statements().execute(QStringLiteral("PRAGMA user_version = 99"));
    }
    other.statements().execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    other.statements().execute(QStringLiteral("INSERT INTO notes VALUES ('keep me')"));
    if (kind != "sqlite+log")
        return;
    const DatabaseFixture::CrashState crashed = DatabaseFixture::takeCrashState(path);
    other.close();
    DatabaseFixture::restoreCrashState(path, crashed);
}

// Zorvel's own file with a history: an unanswered question and 300 words more.
// "cut" loses its last page; "cut+log" is what a checkpoint cut short leaves: the
// file's header already counts the pages that only its log holds so far.
void writeOwnDatabase(const QByteArray &kind, const QString &path)
{
    DatabaseFixture::CrashState crashed;
    {
        Database own(QStringLiteral("own"));
        OpenDatabase(own);
        own.statements().execute(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"));
        own.statements().execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        insertWords(own, 300);
        if (kind == "cut+log") {
            crashed = DatabaseFixture::takeCrashState(path);
            qToBigEndian<quint32>(own.statements().scalar(QStringLiteral("PRAGMA page_count")).toUInt(),
                                  crashed.file.data() + 28);
        }
    }
    if (kind == "cut+log") {
        DatabaseFixture::restoreCrashState(path, crashed);
    } else {
        QFile file(path);
        QVERIFY(file.resize(file.size() - 4096));
    }
}

// Zorvel's own file, whole but for one table, as a tool or a half-done repair leaves it.
void writeOwnDatabaseWithoutTable()
{
    Database own(QStringLiteral("own"));
    OpenDatabase(own);
    own.statements().execute(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"));
    own.statements().execute(QStringLiteral("DROP TABLE hd"));
}

void writeBadFile(const QByteArray &kind, const QString &path)
{
    if (kind == "dangling link")
        QVERIFY(QFile::link(path + QStringLiteral(".elsewhere"), path));
    else if (kind == "no answer table")
        writeOwnDatabaseWithoutTable();
    else if (kind == "text")
        QVERIFY(writeBytes(path, QByteArray("Standard Jet DB\0 not really a database\n", 40)));
    else if (kind == "empty")
        QVERIFY(writeBytes(path, QByteArray()));
    else if (kind.startsWith("cut"))
        writeOwnDatabase(kind, path);
    else
        writeForeignDatabase(kind, path);
}

} // namespace

class StoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartCreatesFolderAndSeed();
    void seedTextsAndDuplicateWords();
    void existingFileIsUsedUnchanged();
    void dropAndRecreateRestoresSeed();
    void dropWithMissingTableChangesNothing();
    void declaredTextLengthsAreEnforced();
    void identityKeysAreNotReused();
    void badFileIsLeftAsItWas_data();
    void badFileIsLeftAsItWas();
    void overLongPathIsNamedAsTheCause_data();
    void overLongPathIsNamedAsTheCause();
    void blockedDataFolderGivesClearError();
    void databasePathThatIsAFolderGivesClearError();
    void interruptedCreationLeavesNoFile();
    void openTidiesWhatACrashLeft();
    void ownPartFileNames_data();
    void ownPartFileNames();
    void orphanedLogsAreSetAside_data();
    void orphanedLogsAreSetAside();
    void secondConnectionWaitsForTheFirst();
    void lockHeldPastTheTimeoutIsToldAsSuch();
    void damageFoundLaterStopsEveryWrite();
    void writesWaitForTheBackgroundCheck();
    void statementsFailClearlyWhenNotOpen();
    void fileUrisReachSqliteWhole_data();
    void fileUrisReachSqliteWhole();
    void foldersAreWritableWhenFilesCanBeMade();
    void placesNamedAreThisPlatformsOwn();
    void movesHeldForAMomentAreTriedAgain_data();
    void movesHeldForAMomentAreTriedAgain();

private:
    std::unique_ptr<TemporaryHome> m_home;
};

void StoreTest::init()
{
    m_home = std::make_unique<TemporaryHome>();
}

void StoreTest::cleanup()
{
    m_home.reset();
}

void StoreTest::firstStartCreatesFolderAndSeed()
{
    QVERIFY(!QFileInfo::exists(GetAppDataFolder()));
    Database db;
    OpenDatabase(db);
    QVERIFY(db.isOpen());
    QCOMPARE(db.filePath(), GetAppDataFolder() + QStringLiteral("/Zorvel/Zorvel.mdb"));
    QVERIFY(db.filePath().startsWith(m_home->path()));

    QCOMPARE(count(db, QStringLiteral("wtlx")), 23);
    QCOMPARE(count(db, QStringLiteral("hdpj")), 29);
    QCOMPARE(count(db, QStringLiteral("cx")), 4);
    QCOMPARE(count(db, QStringLiteral("ci")), 110);
    QCOMPARE(count(db, QStringLiteral("wt")), 0);
    QCOMPARE(count(db, QStringLiteral("hd")), 0);
    for (const char *table : {"wtlx", "hdpj", "cx", "ci"}) {
        const QString name = QLatin1StringView(table);
        QCOMPARE(db.statements().scalar(QStringLiteral("SELECT min(id) FROM ") + name).toInt(), 1);
        QCOMPARE(db.statements().scalar(QStringLiteral("SELECT max(id) FROM ") + name).toInt(), count(db, name));
    }
    const QList<int> phrasesPerType{11, 8, 3, 7};
    const QList<int> wordsPerClass{29, 25, 34, 22};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(count(db, QStringLiteral("hdpj"), QStringLiteral("type = ?"), {i + 1}), phrasesPerType[i]);
        QCOMPARE(count(db, QStringLiteral("ci"), QStringLiteral("cxid = ?"), {i + 1}), wordsPerClass[i]);
    }
    // Each class occupies one consecutive run of ids.
    QCOMPARE(
        db.statements().scalar(QStringLiteral("SELECT min(id) || '-' || max(id) FROM ci WHERE cxid = 3")).toString(),
        QStringLiteral("55-88"));
}

void StoreTest::seedTextsAndDuplicateWords()
{
    Database db;
    OpenDatabase(db);
    QCOMPARE(db.statements().scalar(QStringLiteral("SELECT neirong FROM wtlx WHERE id = 6")).toString(),
             QStringLiteral("请列举#的作用"));
    QCOMPARE(db.statements()
                 .scalar(QStringLiteral("SELECT ppcxid || htcxid || fsqz || keyword FROM wtlx WHERE id = 12"))
                 .toString(),
             QStringLiteral("115#"));
    QCOMPARE(db.statements().scalar(QStringLiteral("SELECT descr FROM hdpj WHERE id = 9")).toString(),
             QStringLiteral("Greate！"));
    QCOMPARE(db.statements().scalar(QStringLiteral("SELECT descr FROM hdpj WHERE id = 26")).toString(),
             QStringLiteral("还想不想玩啊你？"));
    QCOMPARE(db.statements().scalar(QStringLiteral("SELECT name FROM cx WHERE id = 4")).toString(),
             QStringLiteral("作用描述"));
    QCOMPARE(db.statements().scalar(QStringLiteral("SELECT name FROM ci WHERE id = 110")).toString(),
             QStringLiteral("擦眼泪"));

    // A template has a slot exactly when it names a slot class and its keyword is "#".
    QCOMPARE(count(db, QStringLiteral("wtlx"), QStringLiteral("(instr(neirong, '#') > 0) <> (ppcxid <> 0)")), 0);
    QCOMPARE(count(db, QStringLiteral("wtlx"), QStringLiteral("(ppcxid <> 0) <> (keyword = '#')")), 0);

    QCOMPARE(db.statements()
                 .scalar(QStringLiteral("SELECT group_concat(id || ':' || cxid) FROM ci WHERE name = ?"),
                         {QStringLiteral("吃饭")})
                 .toString(),
             QStringLiteral("37:2,49:2"));
    for (const QString &word :
         {QStringLiteral("过河"), QStringLiteral("刷牙"), QStringLiteral("擦地板"), QStringLiteral("擦眼泪")}) {
        QCOMPARE(db.statements()
                     .scalar(QStringLiteral("SELECT group_concat(cxid) FROM ci WHERE name = ?"), {word})
                     .toString(),
                 QStringLiteral("2,4"));
    }
    QCOMPARE(count(db, QStringLiteral("(SELECT name FROM ci GROUP BY name HAVING count(*) > 1)")), 5);
}

void StoreTest::existingFileIsUsedUnchanged()
{
    QString path;
    {
        Database db;
        OpenDatabase(db);
        path = db.filePath();
        db.statements().execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, ?)"), {QStringLiteral("台灯")});
    }
    Database again;
    OpenDatabase(again);
    QCOMPARE(again.filePath(), path);
    QCOMPARE(count(again, QStringLiteral("ci")), 111);
}

void StoreTest::dropAndRecreateRestoresSeed()
{
    Database db;
    OpenDatabase(db);
    const QString fresh = DatabaseFixture::dump(db);
    db.statements().execute(QStringLiteral("INSERT INTO wt (wtlxid, match_word, keyword) VALUES (6, '桌子', '桌子')"));
    db.statements().execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (4, '放东西')"));
    db.statements().execute(QStringLiteral("INSERT INTO hd (wtid, ciid) VALUES (1, 111)"));
    db.statements().execute(QStringLiteral("DELETE FROM ci WHERE id = 3"));

    {
        Transaction transaction(db);
        DropAllTables(db);
        CreateTablesAndSeed(db);
        transaction.commit();
    }
    QCOMPARE(DatabaseFixture::dump(db), fresh);
    // Numbering starts afresh, too.
    QCOMPARE(db.statements().insert(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, '台灯')"), {}), 111);
    QCOMPARE(db.statements().insert(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"), {}), 1);
}

void StoreTest::dropWithMissingTableChangesNothing()
{
    Database db;
    OpenDatabase(db);
    db.statements().execute(QStringLiteral("DROP TABLE wtlx"));
    db.statements().execute(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, {
        Transaction transaction(db);
        DropAllTables(db);
        CreateTablesAndSeed(db);
        transaction.commit();
    });
    QCOMPARE(count(db, QStringLiteral("wt")), 1);
    QCOMPARE(count(db, QStringLiteral("hdpj")), 29);
    QCOMPARE(count(db, QStringLiteral("ci")), 110);
}

void StoreTest::declaredTextLengthsAreEnforced()
{
    Database db;
    OpenDatabase(db);
    const QString fifty(50, QChar(0x5B57));
    db.statements().execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, ?)"), {fifty});
    QVERIFY_THROWS_EXCEPTION(
        DatabaseError,
        db.statements().execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, ?)"), {fifty + u'x'}));
    QVERIFY_THROWS_EXCEPTION(
        DatabaseError,
        db.statements().execute(QStringLiteral("INSERT INTO cx (name) VALUES (?)"), {QString(11, u'x')}));
}

void StoreTest::identityKeysAreNotReused()
{
    Database db;
    OpenDatabase(db);
    const int first = db.statements().insert(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"), {});
    const int second = db.statements().insert(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"), {});
    QCOMPARE(first, 1);
    QCOMPARE(second, 2);
    db.statements().execute(QStringLiteral("DELETE FROM wt WHERE id = 2"));
    QCOMPARE(db.statements().insert(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"), {}), 3);
}

void StoreTest::badFileIsLeftAsItWas_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("told");
    const QString foreign = QStringLiteral("不是 Zorvel 的数据库");
    const QString damaged = QStringLiteral("已损坏");
    QTest::newRow("text file") << QByteArray("text") << int(Refused) << foreign;
    QTest::newRow("empty file") << QByteArray("empty") << int(Refused) << foreign;
    QTest::newRow("other program's database") << QByteArray("sqlite") << int(Refused) << foreign;
    QTest::newRow("other program's database with a pending log") << QByteArray("sqlite+log") << int(Refused) << foreign;
    QTest::newRow("newer Zorvel database") << QByteArray("newer") << int(Refused) << QStringLiteral("较新版本");
    QTest::newRow("own file cut short") << QByteArray("cut") << int(OpenedDamaged) << damaged;
    QTest::newRow("own file short of its header, its log beside it")
        << QByteArray("cut+log") << int(Opened) << QString();
    QTest::newRow("own file without a table")
        << QByteArray("no answer table") << int(OpenedDamaged) << QStringLiteral("缺少表 hd");
    QTest::newRow("link to a missing file")
        << QByteArray("dangling link") << int(Refused) << QStringLiteral("Zorvel.mdb.elsewhere”不存在");
}

// Whatever the start-up finds, it never changes a file it cannot use: a file of
// another program (even one whose pending log a close would apply), of a newer
// version, or a damaged one of its own.
void StoreTest::badFileIsLeftAsItWas()
{
    QFETCH(QByteArray, kind);
    QFETCH(int, outcome);
    QFETCH(QString, told);
    const QString path = GetDatabasePath();
    const QString leftover = path + QStringLiteral(".a1B2c3.part");
#ifdef Q_OS_WIN
    if (kind.contains("link"))
        QSKIP("QFile::link makes a shortcut on Windows, which no open follows");
#endif
    writeBadFile(kind, path);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(writeBytes(leftover, "x"));
    const QByteArray before = DatabaseFixture::fileBytes(path);
    const QByteArray logBefore = DatabaseFixture::fileBytes(path + QStringLiteral("-wal"));
    const QDateTime modified = QFileInfo(path).lastModified();
    const QStringList filesBefore = filesBeside(path);

    Database db;
    FakeClock clock;
    RandomSource random(5);
    TrainingEngine engine(db, clock, random);
    QList<StartupNotice> notices;
    try {
        notices = engine.start();
        QVERIFY2(outcome != Refused, "a file that is not Zorvel's was accepted");
    } catch (const DatabaseError &error) {
        QVERIFY2(outcome == Refused, qPrintable(error.text()));
        QVERIFY2(error.summary().contains(QDir::toNativeSeparators(path)), qPrintable(error.text()));
        QVERIFY2(error.summary().contains(told), qPrintable(error.text()));
        QVERIFY(!db.isOpen());
    }

    if (outcome == Opened) {
        QVERIFY(notices.isEmpty());
        QVERIFY(db.isWritable());
        QCOMPARE(db.statements().scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        QCOMPARE(count(db, QStringLiteral("ci")), 110 + 300);
        QVERIFY(!QFileInfo::exists(leftover)); // a writable session starts clean
        return;
    }
    if (outcome == OpenedDamaged) {
        QCOMPARE(notices.size(), 1);
        QCOMPARE(notices.first().kind, StartupNotice::Warning);
        QVERIFY2(notices.first().text.contains(told), qPrintable(notices.first().text));
        QCOMPARE(db.access(), Database::Damaged);
        QCOMPARE(count(db, QStringLiteral("wt")), 1); // the history can still be read ...
        try {
            engine.startNewQuestion(); // ... but not added to
            QFAIL("a damaged file was written to");
        } catch (const DatabaseError &error) {
            QVERIFY2(error.summary().contains(QStringLiteral("已损坏")), qPrintable(error.text()));
        }
        engine.finish();
    }
    QCOMPARE(DatabaseFixture::fileBytes(path), before);
    QCOMPARE(DatabaseFixture::fileBytes(path + QStringLiteral("-wal")), logBefore);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    QCOMPARE(filesBeside(path), filesBefore); // no log made, no leftover cleaned up
}

void StoreTest::overLongPathIsNamedAsTheCause_data()
{
    QTest::addColumn<int>("spare");
    QTest::newRow("as long as can be") << 0;
    QTest::newRow("one byte too long") << 1;
}

// A data folder so deep that SQLite could not open the file (or the temporary
// file it is built in) is named as the cause; one byte less, and the file is made.
void StoreTest::overLongPathIsNamedAsTheCause()
{
#ifdef Q_OS_WIN
    QSKIP("Windows limits the folder's own path (MAX_PATH) before SQLite's limit is reached");
#endif
    QFETCH(int, spare);
    const QString fixed = m_home->path() + QStringLiteral("/d/Zorvel/Zorvel.mdb");
    const qint64 fill = longestDatabasePath() + spare - databasePathLength(fixed);
    QString deep = m_home->path() + QStringLiteral("/d");
    for (qint64 left = fill, step = 0; left > 0; left -= step) {
        step = left > 150 ? 100 : left;
        deep += QLatin1Char('/') + QString(int(step - 1), QLatin1Char('x'));
    }
    qputenv("XDG_DATA_HOME", deep.toLocal8Bit());
    QCOMPARE(databasePathLength(databaseFileLocation()), longestDatabasePath() + spare);
    Database db;
    try {
        OpenDatabase(db);
        QVERIFY2(spare <= 0, "an over-long path was opened");
        QVERIFY(db.isWritable());
    } catch (const DatabaseError &error) {
        QVERIFY2(spare > 0, qPrintable(error.text()));
        QVERIFY2(error.summary().contains(QStringLiteral("路径")) && error.summary().contains(QStringLiteral("太长")),
                 qPrintable(error.text()));
        QVERIFY(!QFileInfo::exists(databaseFileLocation()));
    }
}

void StoreTest::blockedDataFolderGivesClearError()
{
    // A file where the data folder should be: the folder cannot be made, whoever runs this.
    QVERIFY(QDir().mkpath(GetAppDataFolder()));
    QFile blocker(GetAppDataFolder() + QStringLiteral("/Zorvel"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.write("x");
    blocker.close();

    Database db;
    try {
        OpenDatabase(db);
        QFAIL("start-up succeeded without a data folder");
    } catch (const DatabaseError &error) {
        QVERIFY(error.summary().startsWith(QStringLiteral("无法创建数据文件夹")));
    }
    QCOMPARE(DatabaseFixture::fileBytes(blocker.fileName()), QByteArray("x"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db.statements().execute(QStringLiteral("SELECT 1")));
}

void StoreTest::databasePathThatIsAFolderGivesClearError()
{
    QVERIFY(QDir().mkpath(GetAppDataFolder() + QStringLiteral("/Zorvel/Zorvel.mdb")));
    Database db;
    QVERIFY_THROWS_EXCEPTION(DatabaseError, OpenDatabase(db));
    QVERIFY(!db.isOpen());
    QVERIFY(QFileInfo(GetDatabasePath()).isDir());
}

void StoreTest::interruptedCreationLeavesNoFile()
{
    const QString path = GetDatabasePath();
    const auto seedThenFail = [](Database &db) {
        CreateTablesAndSeed(db);
        throw DatabaseError(QStringLiteral("磁盘已满"), QStringLiteral("disk I/O error"));
    };
    QVERIFY_THROWS_EXCEPTION(DatabaseError, createDatabaseFile(path, seedThenFail));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(filesBeside(path), QStringList());

    // The next start creates a file complete in itself: nothing of it in a log.
    EnsureDatabaseFile(path);
    QCOMPARE(filesBeside(path), QStringList{QStringLiteral("Zorvel.mdb")});
    Database db;
    OpenDatabase(db);
    QCOMPARE(count(db, QStringLiteral("ci")), 110);
}

// A crash leaves questions without answers, and an interrupted first start its
// temporary files; the next open tidies both (the questions once the file has
// been read whole), and nothing else. The file lies
// where the caller says, wherever the home folder is.
void StoreTest::openTidiesWhatACrashLeft()
{
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/data/Zorvel.mdb");
    int answered = 0;
    int unanswered = 0;
    {
        Database db(QStringLiteral("crashed"));
        QVERIFY(OpenDatabase(db, path).isEmpty());
        answered = db.statements().insert(QStringLiteral("INSERT INTO wt (wtlxid, answer_count) VALUES (1, 1)"), {});
        db.statements().execute(QStringLiteral("INSERT INTO hd (wtid, ciid) VALUES (?, 1)"), {answered});
        unanswered = db.statements().insert(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"), {});
    }
    const QStringList leftovers{path + QStringLiteral(".Ab12Cd.part"), path + QStringLiteral(".Ab12Cd.part-journal")};
    const QStringList others{path + QStringLiteral(".part"), path + QStringLiteral("-wal.set-aside-20240101-000000"),
                             path + QStringLiteral(".notes.part")};
    for (const QString &name : leftovers + others)
        QVERIFY(writeBytes(name, "x"));

    Database again(QStringLiteral("again"));
    QVERIFY(OpenDatabase(again, path).isEmpty());
    QCOMPARE(again.filePath(), path);
    QVERIFY(!QFileInfo::exists(GetAppDataFolder() + QStringLiteral("/Zorvel")));
    // Nothing is written to the file before it has been read whole.
    QCOMPARE(count(again, QStringLiteral("wt"), QStringLiteral("id = ?"), {unanswered}), 1);
    again.startIntegrityCheck();
    QVERIFY(finishOpening(again).isEmpty());
    QCOMPARE(count(again, QStringLiteral("wt"), QStringLiteral("id = ?"), {answered}), 1);
    QCOMPARE(count(again, QStringLiteral("wt"), QStringLiteral("id = ?"), {unanswered}), 0);
    for (const QString &name : leftovers)
        QVERIFY2(!QFileInfo::exists(name), qPrintable(name));
    for (const QString &name : others)
        QVERIFY2(QFileInfo::exists(name), qPrintable(name));
}

void StoreTest::ownPartFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("own");
    QTest::newRow("file") << QStringLiteral("Zorvel.mdb.Ab12Cd.part") << true;
    QTest::newRow("its journal") << QStringLiteral("Zorvel.mdb.Ab12Cd.part-journal") << true;
    QTest::newRow("its log") << QStringLiteral("Zorvel.mdb.zz99ZZ.part-wal") << true;
    QTest::newRow("its log index") << QStringLiteral("Zorvel.mdb.000000.part-shm") << true;
    QTest::newRow("five letters") << QStringLiteral("Zorvel.mdb.Ab12C.part") << false;
    QTest::newRow("seven letters") << QStringLiteral("Zorvel.mdb.Ab12Cde.part") << false;
    QTest::newRow("not a letter") << QStringLiteral("Zorvel.mdb.Ab-2Cd.part") << false;
    QTest::newRow("other ending") << QStringLiteral("Zorvel.mdb.Ab12Cd.partial") << false;
    QTest::newRow("other log") << QStringLiteral("Zorvel.mdb.Ab12Cd.part-journal.bak") << false;
    QTest::newRow("other file") << QStringLiteral("xZorvel.mdb.Ab12Cd.part") << false;
    QTest::newRow("other case") << QStringLiteral("zorvel.mdb.Ab12Cd.part") << false;
    QTest::newRow("no dot") << QStringLiteral("Zorvel.mdbxAb12Cd.part") << false;
}

void StoreTest::ownPartFileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, own);
    QCOMPARE(isOwnPartFileName(name, QStringLiteral("Zorvel.mdb")), own);
}

void StoreTest::orphanedLogsAreSetAside_data()
{
    QTest::addColumn<QStringList>("suffixes");
    QTest::newRow("log and its index") << QStringList{QStringLiteral("-wal"), QStringLiteral("-shm")};
    QTest::newRow("rollback journal") << QStringList{QStringLiteral("-journal")};
}

// A crash leaves the log beside the file; the user then deletes only the file.
// SQLite would apply that log to the next file of the name and break it.
void StoreTest::orphanedLogsAreSetAside()
{
    QFETCH(QStringList, suffixes);
    const QString path = GetDatabasePath();
    QHash<QString, QByteArray> logs;
    {
        Database old(QStringLiteral("old"));
        OpenDatabase(old);
        old.statements().execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        insertWords(old, 50);
        for (const QString &suffix : suffixes)
            logs[suffix] = DatabaseFixture::fileBytes(
                path + (suffix == QStringLiteral("-shm") ? suffix : QStringLiteral("-wal")));
    }
    QVERIFY(QFile::remove(path));
    for (auto log = logs.cbegin(); log != logs.cend(); ++log)
        QVERIFY(writeBytes(path + log.key(), log.value()));

    Database db;
    const QList<StartupNotice> notices = OpenDatabase(db);
    QCOMPARE(db.statements().scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    QCOMPARE(count(db, QStringLiteral("ci")), 110);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.first().kind, StartupNotice::Information);
    for (auto log = logs.cbegin(); log != logs.cend(); ++log) {
        const QStringList setAside = QFileInfo(path).dir().entryList(
            {QStringLiteral("Zorvel.mdb%1.set-aside-*").arg(log.key())}, QDir::Files);
        QCOMPARE(setAside.size(), 1);
        const QString name = QFileInfo(path).dir().filePath(setAside.first());
        QCOMPARE(DatabaseFixture::fileBytes(name), log.value());
        QVERIFY2(notices.first().text.contains(QDir::toNativeSeparators(name)), qPrintable(notices.first().text));
    }
}

void StoreTest::secondConnectionWaitsForTheFirst()
{
    Database db;
    OpenDatabase(db);
    const QString path = db.filePath();

    // Another process (here: a thread with a connection of its own) holds the write
    // lock for a moment; our write waits for it instead of failing.
    QSemaphore locked;
    std::atomic_bool committing = false;
    QThread *holder = QThread::create([&] {
        Database other(QStringLiteral("holder"));
        other.open(BuildConnectionString(path));
        Transaction transaction(other);
        other.statements().execute(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"));
        locked.release();
        QThread::msleep(400);
        committing = true;
        transaction.commit();
    });
    holder->start();
    QVERIFY(locked.tryAcquire(1, 60000));
    db.statements().execute(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (2)"));
    QVERIFY(committing); // our write went through only once the holder let go
    QVERIFY(holder->wait(60000));
    delete holder;
    QCOMPARE(count(db, QStringLiteral("wt")), 2);
}

// The busy timeout ends the wait at last, and the error says what held the file.
void StoreTest::lockHeldPastTheTimeoutIsToldAsSuch()
{
    Database db;
    OpenDatabase(db);
    const QString path = db.filePath();
    QSemaphore locked;
    QSemaphore done;
    QThread *holder = QThread::create([&] {
        Database other(QStringLiteral("holder"));
        other.open(BuildConnectionString(path));
        Transaction transaction(other);
        locked.release();
        done.acquire();
    });
    holder->start();
    locked.acquire();
    Database impatient(QStringLiteral("impatient"));
    impatient.open({path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=50")});
    try {
        Transaction transaction(impatient);
        QFAIL("a write began while another connection held the lock");
    } catch (const DatabaseError &error) {
        QCOMPARE(error.resultCode(), ResultCode::busy);
        QVERIFY2(error.summary().contains(QStringLiteral("正被另一个程序占用")), qPrintable(error.text()));
        QVERIFY(error.summary().contains(QDir::toNativeSeparators(path)));
    }
    done.release();
    QVERIFY(holder->wait(5000));
    delete holder;
    Transaction transaction(impatient);
    transaction.commit();
}

// A statement that finds the file damaged turns the session read-only: from then
// on nothing is written to the file, and the history can still be read.
void StoreTest::damageFoundLaterStopsEveryWrite()
{
    const QString path = GetDatabasePath();
    QVERIFY(DatabaseFixture::garbleRootPage(path, QStringLiteral("hd"))); // the disk garbles one page

    Database db;
    QVERIFY(OpenDatabase(db).isEmpty());
    QVERIFY(db.isWritable());
    try {
        db.statements().execute(QStringLiteral("SELECT * FROM hd"));
        QFAIL("a damaged page was read as good");
    } catch (const DatabaseError &error) {
        QVERIFY2(error.summary().contains(QStringLiteral("已损坏")), qPrintable(error.text()));
    }
    QCOMPARE(db.access(), Database::Damaged);
    const QByteArray damaged = DatabaseFixture::fileBytes(path);
    QCOMPARE(count(db, QStringLiteral("ci")), 110);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, Transaction{db});
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             db.statements().execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, '灯')")));
    db.close();
    QCOMPARE(DatabaseFixture::fileBytes(path), damaged);
    QCOMPARE(filesBeside(path), QStringList{QStringLiteral("Zorvel.mdb")});
}

// A write that comes while the whole file is still being read waits for the
// check, and is refused when the check finds damage that no read had met.
void StoreTest::writesWaitForTheBackgroundCheck()
{
    const QString path = GetDatabasePath();
    QVERIFY(DatabaseFixture::garbleRootPage(path, QStringLiteral("hd"))); // the disk garbles one page
    const QByteArray damaged = DatabaseFixture::fileBytes(path);

    Database db;
    QVERIFY(OpenDatabase(db).isEmpty());
    QVERIFY(db.isWritable());
    db.startIntegrityCheck();
    try {
        Transaction transaction(db);
        QFAIL("a write went ahead of the check");
    } catch (const DatabaseError &error) {
        QVERIFY2(error.summary().contains(QStringLiteral("已损坏")), qPrintable(error.text()));
    }
    QCOMPARE(db.access(), Database::Damaged);
    QVERIFY(!db.settleIntegrityCheck()); // told once
    QCOMPARE(count(db, QStringLiteral("ci")), 110);
    db.close();
    QCOMPARE(DatabaseFixture::fileBytes(path), damaged);
}

void StoreTest::statementsFailClearlyWhenNotOpen()
{
    Database db;
    try {
        db.statements().execute(QStringLiteral("SELECT 1"));
        QFAIL("a statement ran without a database");
    } catch (const DatabaseError &error) {
        QVERIFY(error.text().contains(QStringLiteral("数据库没有打开")));
    }
}

void StoreTest::fileUrisReachSqliteWhole_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("uri");
    QTest::newRow("Unix") << QStringLiteral("/home/me/Zorvel.mdb") << QStringLiteral("file:///home/me/Zorvel.mdb");
    QTest::newRow("drive") << QStringLiteral("C:/Users/me/Zorvel.mdb")
                           << QStringLiteral("file:///C:/Users/me/Zorvel.mdb");
    QTest::newRow("network share, the server in the path")
        << QStringLiteral("//nas/share/Zorvel.mdb") << QStringLiteral("file:////nas/share/Zorvel.mdb");
    QTest::newRow("Chinese names on a share")
        << QStringLiteral("//nas/备份/x.mdb") << QStringLiteral("file:////nas/%E5%A4%87%E4%BB%BD/x.mdb");
    QTest::newRow("characters SQLite's URIs give a meaning")
        << QStringLiteral("D:/a b/#1?%.mdb") << QStringLiteral("file:///D:/a%20b/%231%3F%25.mdb");
}

void StoreTest::fileUrisReachSqliteWhole()
{
    QFETCH(QString, path);
    QFETCH(QString, uri);
    QCOMPARE(sqliteFileUri(path), uri);
}

// A folder is writable when a file can be made in it. On Windows the folder's
// read-only attribute (Explorer's mark of a customised folder) changes nothing:
// a history there is made and opened for writing.
void StoreTest::foldersAreWritableWhenFilesCanBeMade()
{
    const QString folder = m_home->path() + QStringLiteral("/文档 folder");
    QVERIFY(!canCreateFilesIn(folder));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(canCreateFilesIn(folder));
#ifdef Q_OS_WIN
    const std::wstring native = QDir::toNativeSeparators(folder).toStdWString();
    QVERIFY(SetFileAttributesW(native.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    if (!(GetFileAttributesW(native.c_str()) & FILE_ATTRIBUTE_READONLY))
        QSKIP("Wine keeps no read-only attribute on a folder; scripts/check-windows.sh makes one by its permissions");
    QVERIFY(!QFileInfo(folder).isWritable()); // what the attribute alone says
    QVERIFY(canCreateFilesIn(folder));
#endif
    const QString path = folder + QStringLiteral("/Zorvel.mdb");
    EnsureDatabaseFile(path);
    Database db;
    db.open(BuildConnectionString(path));
    QVERIFY(db.isWritable());
    // The trial leaves nothing behind.
    const QStringList files = filesBeside(path);
    QVERIFY2(files.filter(QStringLiteral("write-test")).isEmpty(), qPrintable(files.join(u' ')));
}

void StoreTest::placesNamedAreThisPlatformsOwn()
{
    const QString sentence = StoreFailure::pathTooLong(QStringLiteral("/x"), 300, 239).text();
#ifdef Q_OS_WIN
    QVERIFY2(sentence.contains(QStringLiteral("%APPDATA%")) && !sentence.contains(QStringLiteral("XDG")),
             qPrintable(sentence));
#else
    QVERIFY2(sentence.contains(QStringLiteral("XDG_DATA_HOME")), qPrintable(sentence));
#endif
}

void StoreTest::movesHeldForAMomentAreTriedAgain_data()
{
    QTest::addColumn<QString>("tries"); // what each try comes to: D done, H held, F failed
    QTest::addColumn<bool>("done");
    QTest::addColumn<QList<int>>("pauses");
    QTest::newRow("done at once") << QStringLiteral("D") << true << QList<int>{};
    QTest::newRow("held, then done") << QStringLiteral("HHD") << true << QList<int>{1, 2};
    QTest::newRow("failed for good: not tried again") << QStringLiteral("F") << false << QList<int>{};
    QTest::newRow("held, then failed") << QStringLiteral("HF") << false << QList<int>{1};
    QTest::newRow("held on every try: gives up") << QStringLiteral("HHHH") << false << QList<int>{1, 2, 3};
}

void StoreTest::movesHeldForAMomentAreTriedAgain()
{
    QFETCH(QString, tries);
    QFETCH(bool, done);
    QFETCH(QList<int>, pauses);
    qsizetype tried = 0;
    QList<int> paused;
    const auto move = [&] {
        const QChar outcome = tries.at(tried++);
        return outcome == u'D' ? MoveTry::Done : outcome == u'H' ? MoveTry::Held : MoveTry::Failed;
    };
    QCOMPARE(retryWhileHeld(
                 move, [&](int number) { paused.append(number); }, 4),
             done);
    QCOMPARE(tried, tries.size());
    QCOMPARE(paused, pauses);
}

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
