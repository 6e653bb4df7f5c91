#include "databasefixture.h"
#include "temporaryhome.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "store/location.h"
#include "store/schema.h"
#include "store/transaction.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

using DatabaseFixture::count;

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
    void foreignFileIsRefusedAndLeftAlone_data();
    void foreignFileIsRefusedAndLeftAlone();
    void blockedDataFolderGivesClearError();
    void databasePathThatIsAFolderGivesClearError();
    void interruptedCreationLeavesNoFile();
    void secondConnectionWaitsForTheFirst();
    void statementsFailClearlyWhenNotOpen();

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
        QCOMPARE(db.scalar(QStringLiteral("SELECT min(id) FROM ") + name).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT max(id) FROM ") + name).toInt(), count(db, name));
    }
    const QList<int> phrasesPerType{11, 8, 3, 7};
    const QList<int> wordsPerClass{29, 25, 34, 22};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(count(db, QStringLiteral("hdpj"), QStringLiteral("type = ?"), {i + 1}), phrasesPerType[i]);
        QCOMPARE(count(db, QStringLiteral("ci"), QStringLiteral("cxid = ?"), {i + 1}), wordsPerClass[i]);
    }
    // Each class occupies one consecutive run of ids.
    QCOMPARE(db.scalar(QStringLiteral("SELECT min(id) || '-' || max(id) FROM ci WHERE cxid = 3")).toString(),
             QStringLiteral("55-88"));
}

void StoreTest::seedTextsAndDuplicateWords()
{
    Database db;
    OpenDatabase(db);
    QCOMPARE(db.scalar(QStringLiteral("SELECT neirong FROM wtlx WHERE id = 6")).toString(), QStringLiteral("请列举#的作用"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT ppcxid || htcxid || fsqz || keyword FROM wtlx WHERE id = 12")).toString(),
             QStringLiteral("115#"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT descr FROM hdpj WHERE id = 9")).toString(), QStringLiteral("Greate！"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT descr FROM hdpj WHERE id = 26")).toString(), QStringLiteral("还想不想玩啊你？"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT name FROM cx WHERE id = 4")).toString(), QStringLiteral("作用描述"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT name FROM ci WHERE id = 110")).toString(), QStringLiteral("擦眼泪"));

    // A template has a slot exactly when it names a slot class and its keyword is "#".
    QCOMPARE(count(db, QStringLiteral("wtlx"), QStringLiteral("(instr(neirong, '#') > 0) <> (ppcxid <> 0)")), 0);
    QCOMPARE(count(db, QStringLiteral("wtlx"), QStringLiteral("(ppcxid <> 0) <> (keyword = '#')")), 0);

    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(id || ':' || cxid) FROM ci WHERE name = ?"),
                       {QStringLiteral("吃饭")}).toString(),
             QStringLiteral("37:2,49:2"));
    for (const QString &word : {QStringLiteral("过河"), QStringLiteral("刷牙"), QStringLiteral("擦地板"), QStringLiteral("擦眼泪")}) {
        QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(cxid) FROM ci WHERE name = ?"), {word}).toString(),
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
        db.execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, ?)"), {QStringLiteral("台灯")});
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
    db.execute(QStringLiteral("INSERT INTO wt (wtlxid, match_word, keyword) VALUES (6, '桌子', '桌子')"));
    db.execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (4, '放东西')"));
    db.execute(QStringLiteral("INSERT INTO hd (wtid, ciid) VALUES (1, 111)"));
    db.execute(QStringLiteral("DELETE FROM ci WHERE id = 3"));

    {
        Transaction transaction(db);
        DropAllTables(db);
        CreateTablesAndSeed(db);
        transaction.commit();
    }
    QCOMPARE(DatabaseFixture::dump(db), fresh);
    // Numbering starts afresh, too.
    QCOMPARE(db.insert(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, '台灯')"), {}), 111);
    QCOMPARE(db.insert(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"), {}), 1);
}

void StoreTest::dropWithMissingTableChangesNothing()
{
    Database db;
    OpenDatabase(db);
    db.execute(QStringLiteral("DROP TABLE wtlx"));
    db.execute(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"));
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
    db.execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, ?)"), {fifty});
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             db.execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, ?)"), {fifty + u'x'}));
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             db.execute(QStringLiteral("INSERT INTO cx (name) VALUES (?)"), {QString(11, u'x')}));
}

void StoreTest::identityKeysAreNotReused()
{
    Database db;
    OpenDatabase(db);
    const int first = db.insert(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"), {});
    const int second = db.insert(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"), {});
    QCOMPARE(first, 1);
    QCOMPARE(second, 2);
    db.execute(QStringLiteral("DELETE FROM wt WHERE id = 2"));
    QCOMPARE(db.insert(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"), {}), 3);
}

void StoreTest::foreignFileIsRefusedAndLeftAlone_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::newRow("text file") << QByteArray("text");
    QTest::newRow("empty file") << QByteArray("empty");
    QTest::newRow("other program's database") << QByteArray("sqlite");
    QTest::newRow("newer Zorvel database") << QByteArray("newer");
}

void StoreTest::foreignFileIsRefusedAndLeftAlone()
{
    QFETCH(QByteArray, kind);
    const QString path = GetDatabasePath();
    if (kind == "text" || kind == "empty") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == "text")
            file.write("Standard Jet DB\0 not really a database\n", 40);
    } else {
        Database other(QStringLiteral("other"));
        other.open(BuildConnectionString(path), Database::NewFile);
        other.execute(QStringLiteral("CREATE TABLE notes (body TEXT)"));
        other.execute(QStringLiteral("INSERT INTO notes VALUES ('keep me')"));
        if (kind == "newer") {
            other.execute(QStringLiteral("PRAGMA application_id = 1515345484"));
            other.execute(QStringLiteral("PRAGMA user_version = 99"));
        }
    }
    const QByteArray before = DatabaseFixture::fileBytes(path);
    const QDateTime modified = QFileInfo(path).lastModified();

    Database db;
    try {
        OpenDatabase(db);
        QFAIL("a foreign file was accepted");
    } catch (const DatabaseError &error) {
        QVERIFY2(error.summary().contains(QDir::toNativeSeparators(path)), qPrintable(error.text()));
        QVERIFY(error.summary().contains(kind == "newer" ? QStringLiteral("较新版本") : QStringLiteral("不是 Zorvel 的数据库")));
    }
    QVERIFY(!db.isOpen());
    QCOMPARE(DatabaseFixture::fileBytes(path), before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{QStringLiteral("Zorvel.mdb")});
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
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db.execute(QStringLiteral("SELECT 1")));
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
    const auto seedThenFail = [](const Database &db) {
        CreateTablesAndSeed(db);
        throw DatabaseError(QStringLiteral("磁盘已满"), QStringLiteral("disk I/O error"));
    };
    QVERIFY_THROWS_EXCEPTION(DatabaseError, createDatabaseFile(path, seedThenFail));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden), QStringList());

    // The next start creates a complete file.
    Database db;
    OpenDatabase(db);
    QCOMPARE(count(db, QStringLiteral("ci")), 110);
}

void StoreTest::secondConnectionWaitsForTheFirst()
{
    Database db;
    OpenDatabase(db);
    const QString path = db.filePath();

    // Another process (here: a thread with a connection of its own) holds the write
    // lock for a moment; our write waits for it instead of failing.
    QThread *holder = QThread::create([path] {
        Database other(QStringLiteral("holder"));
        other.open(BuildConnectionString(path));
        Transaction transaction(other);
        other.execute(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (1)"));
        QThread::msleep(400);
        transaction.commit();
    });
    holder->start();
    QTRY_COMPARE_WITH_TIMEOUT(db.connection().isOpen(), true, 1000);
    QThread::msleep(100);
    db.execute(QStringLiteral("INSERT INTO wt (wtlxid) VALUES (2)"));
    QVERIFY(holder->wait(5000));
    delete holder;
    QCOMPARE(count(db, QStringLiteral("wt")), 2);
}

void StoreTest::statementsFailClearlyWhenNotOpen()
{
    Database db;
    try {
        db.execute(QStringLiteral("SELECT 1"));
        QFAIL("a statement ran without a database");
    } catch (const DatabaseError &error) {
        QVERIFY(error.text().contains(QStringLiteral("数据库没有打开")));
    }
}

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
