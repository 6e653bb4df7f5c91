// SPDX-License-Identifier: GPL-3.0-or-later
#include "databasefixture.h"
#include "temporaryhome.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "store/location.h"
#include "store/newfilemove.h"
#include "store/statements.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

#include <cstdlib>
#include <memory>

using DatabaseFixture::count;
using DatabaseFixture::fileBytes;
using DatabaseFixture::writeBytes;

namespace {

#ifdef Q_OS_WIN
constexpr bool openFilesCanMove = false;
#else
constexpr bool openFilesCanMove = true;
#endif

// Points the per-user data root at `folder`, whatever characters its name has
// (on Windows through the wide environment, which Windows itself fills).
void setDataRoot(const QString &folder)
{
#ifdef Q_OS_WIN
    QVERIFY(_wputenv_s(L"APPDATA", QDir::toNativeSeparators(folder).toStdWString().c_str()) == 0);
#else
    qputenv("XDG_DATA_HOME", folder.toUtf8());
#endif
}

} // namespace

// The data file on Windows' terms as well as on POSIX ones: a user name in
// Chinese with spaces in the path, and files that another program holds open,
// which Windows lets nobody rename or delete.
class PlatformFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dataFolderNamedInAnyCharacters_data();
    void dataFolderNamedInAnyCharacters();
    void newFileMovesIntoPlaceOnlyWhereFree_data();
    void newFileMovesIntoPlaceOnlyWhereFree();
    void orphanedLogHeldOpenIsNeitherMovedNorApplied();

private:
    std::unique_ptr<TemporaryHome> m_home;
};

void PlatformFilesTest::init()
{
    m_home = std::make_unique<TemporaryHome>();
}

void PlatformFilesTest::cleanup()
{
    m_home.reset();
}

void PlatformFilesTest::dataFolderNamedInAnyCharacters_data()
{
    QTest::addColumn<QString>("userName");
    QTest::newRow("Chinese with a space") << QStringLiteral("张 三");
    QTest::newRow("Chinese, Latin and spaces") << QStringLiteral("Users/李四 Li Si");
    // '%' and '#' mean something in the file URI of a read-only open.
    QTest::newRow("characters a URI escapes") << QStringLiteral("王五 100% #1");
}

// The data file is created, written, opened again, and, cut short, still read
// through its read-only open, which names the file by URI.
void PlatformFilesTest::dataFolderNamedInAnyCharacters()
{
    QFETCH(QString, userName);
    const QString root = m_home->path() + QLatin1Char('/') + userName + QStringLiteral("/AppData/Roaming");
    setDataRoot(root);
    const QString path = databaseFileLocation();
    QCOMPARE(path, root + QStringLiteral("/Zorvel/Zorvel.mdb"));

    {
        Database db;
        QCOMPARE(OpenDatabase(db).size(), 0);
        QVERIFY(db.isWritable());
        db.statements().execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, ?)"), {userName});
    }
    QVERIFY(QFileInfo::exists(path));
    {
        Database db;
        OpenDatabase(db);
        QCOMPARE(count(db, QStringLiteral("ci"), QStringLiteral("name = ?"), {userName}), 1);
        for (int i = 0; i < 300; ++i)
            db.statements().execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, ?)"),
                                    {QStringLiteral("词%1").arg(i)});
    }
    QFile file(path);
    QVERIFY(file.resize(file.size() - 4096));

    Database db;
    const QList<StartupNotice> notices = OpenDatabase(db);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(db.access(), Database::Damaged);
    QVERIFY(count(db, QStringLiteral("sqlite_master")) > 0);
}

void PlatformFilesTest::newFileMovesIntoPlaceOnlyWhereFree_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<QString>("heldOpen"); // which file another handle holds open
    QTest::addColumn<bool>("moves");

    QTest::newRow("free") << false << QString() << true;
    QTest::newRow("target already there") << true << QString() << false;
    QTest::newRow("target there and open") << true << QStringLiteral("target") << false;
    QTest::newRow("new file still open") << false << QStringLiteral("source") << openFilesCanMove;
}

// The move never replaces a file, and where it fails, both files are left as they
// were; once the other handle is closed, the move succeeds.
void PlatformFilesTest::newFileMovesIntoPlaceOnlyWhereFree()
{
    QFETCH(bool, targetExists);
    QFETCH(QString, heldOpen);
    QFETCH(bool, moves);

    const QString folder = m_home->path() + QStringLiteral("/数据 文件夹");
    QVERIFY(QDir().mkpath(folder));
    const QString source = folder + QStringLiteral("/Zorvel.mdb.a1b2c3.part");
    const QString target = folder + QStringLiteral("/Zorvel.mdb");
    QVERIFY(writeBytes(source, "new file"));
    if (targetExists)
        QVERIFY(writeBytes(target, "their file"));
    auto holder = std::make_unique<QFile>(heldOpen == QStringLiteral("source") ? source : target);
    if (!heldOpen.isEmpty())
        QVERIFY(holder->open(QIODevice::ReadOnly));

    QString error;
    QCOMPARE(moveNewFileIntoPlace(source, target, error), moves);
    if (moves) {
        QVERIFY(!QFileInfo::exists(source));
        QCOMPARE(fileBytes(target), QByteArray("new file"));
        return;
    }
    QVERIFY(!error.isEmpty());
    QCOMPARE(fileBytes(source), QByteArray("new file"));
    QCOMPARE(fileBytes(target), targetExists ? QByteArray("their file") : QByteArray());

    holder.reset();
    if (!targetExists) {
        QVERIFY2(moveNewFileIntoPlace(source, target, error), qPrintable(error));
        QCOMPARE(fileBytes(target), QByteArray("new file"));
    }
}

// A log left without its database, held open by another program: where it
// cannot be moved aside, no database is created that it could be applied to,
// and the log stays as it is.
void PlatformFilesTest::orphanedLogHeldOpenIsNeitherMovedNorApplied()
{
    const QString path = GetDatabasePath();
    const QString log = path + QStringLiteral("-wal");
    QVERIFY(writeBytes(log, QByteArray(4096, 'w')));
    QFile holder(log);
    QVERIFY(holder.open(QIODevice::ReadOnly));

    Database db;
    if (openFilesCanMove) {
        QCOMPARE(OpenDatabase(db).size(), 1);
        QCOMPARE(QFileInfo(path).dir().entryList({QStringLiteral("Zorvel.mdb-wal.set-aside-*")}).size(), 1);
        return;
    }
    try {
        OpenDatabase(db);
        QFAIL("the database was opened beside a log that could not be set aside");
    } catch (const DatabaseError &error) {
        QVERIFY2(error.summary().contains(QDir::toNativeSeparators(log)), qPrintable(error.summary()));
    }
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(fileBytes(log), QByteArray(4096, 'w'));
}

QTEST_GUILESS_MAIN(PlatformFilesTest)
#include "tst_platformfiles.moc"
