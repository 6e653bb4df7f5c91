// SPDX-License-Identifier: GPL-3.0-or-later
#include "location.h"

#include "databaseerror.h"
#include "displaypath.h"
#include "fileheader.h"
#include "newfilemove.h"
#include "resultcode.h"
#include "schema.h"
#include "schemaversion.h"
#include "storefailure.h"
#include "transaction.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shlobj.h>
#endif

namespace {

const QString dataFolderName = QStringLiteral("Zorvel");
const QString databaseFileName = QStringLiteral("Zorvel.mdb");
constexpr int busyTimeoutMs = 10000;
const char *const logSuffixes[] = {"-wal", "-shm", "-journal"};

void stampSchemaVersion(const Database &db)
{
    db.execute(QStringLiteral("PRAGMA application_id = %1").arg(SchemaVersion::applicationId));
    db.execute(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion::current));
}

void populateInTransaction(const Database &db, const std::function<void(const Database &)> &populate)
{
    Transaction transaction(db);
    stampSchemaVersion(db);
    populate(db);
    transaction.commit();
}

void removeLogsOf(const QString &path)
{
    for (const char *suffix : logSuffixes)
        QFile::remove(path + QLatin1StringView(suffix));
}

// The committed file must stand on its own: no journal or log left beside it,
// our marks in its header, and as long as its header says.
void checkComplete(const QString &path)
{
    for (const char *suffix : logSuffixes) {
        if (QFileInfo::exists(path + QLatin1StringView(suffix)))
            throw DatabaseError(QStringLiteral("新建的数据库文件旁留下了日志文件，文件不完整。"));
    }
    QByteArray header;
    QString reason;
    if (!readDatabaseHeader(path, header, reason))
        throw DatabaseError(QStringLiteral("无法读回新建的数据库文件。"), reason, ResultCode::ioError);
    if (judgeDatabaseHeader(header, QFileInfo(path).size(), false) != FileHeaderVerdict::Ours)
        throw DatabaseError(QStringLiteral("新建的数据库文件不完整。"), QString(), ResultCode::ioError);
}

void buildDatabaseFile(const QString &path, const std::function<void(const Database &)> &populate)
{
    Database creator(QStringLiteral("zorvel-create-") + QFileInfo(path).fileName());
    creator.open(BuildConnectionString(path), Database::NewFile);
    populateInTransaction(creator, populate);
    creator.close();
}

#ifdef Q_OS_WIN
// The shell's own lookup of the roaming application data folder, for the rare
// process that was started without the APPDATA variable.
QString roamingAppDataFromShell()
{
    wchar_t *folder = nullptr;
    QString path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder)))
        path = QDir::fromNativeSeparators(QString::fromWCharArray(folder));
    CoTaskMemFree(folder);
    return path;
}
#endif

QString setAsideName(const QString &log, const QString &stamp)
{
    QString name = log + QStringLiteral(".set-aside-") + stamp;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = log + QStringLiteral(".set-aside-%1-%2").arg(stamp).arg(n);
    return name;
}

StartupNotice setAsideNotice(const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names)
        shown.append(displayPath(name));
    return {StartupNotice::Information,
            QStringLiteral("数据文件夹里有上次留下的日志文件，却没有与它们对应的数据库文件。"
                           "为了不让它们混进新建的数据库，Zorvel 已把它们改名保存在原处：\n\n%1\n\n"
                           "如果您以前的训练记录不见了，这些文件里可能还保存着其中一部分，请不要删除它们。")
                .arg(shown.join(QLatin1Char('\n')))};
}

} // namespace

QString GetAppDataFolder()
{
#ifdef Q_OS_WIN
    QString roaming = qEnvironmentVariable("APPDATA");
    if (roaming.isEmpty())
        roaming = roamingAppDataFromShell();
    return roaming.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(roaming));
#else
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
#endif
}

QString databaseFileLocation()
{
    const QString root = GetAppDataFolder();
    if (root.isEmpty() || root == QStringLiteral("."))
        return QString();
    return root + QLatin1Char('/') + dataFolderName + QLatin1Char('/') + databaseFileName;
}

QString GetDatabasePath()
{
    const QString path = databaseFileLocation();
    if (path.isEmpty())
        throw DatabaseError(QStringLiteral("找不到当前用户的应用数据文件夹，无法保存训练记录。"));
    const QString folder = QFileInfo(path).path();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        throw DatabaseError(QStringLiteral("无法创建数据文件夹“%1”。请检查该位置是否可写，"
                                           "以及是否被同名文件占用。").arg(displayPath(folder)));
    }
    return path;
}

void EnsureDatabaseFile(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    createDatabaseFile(path, CreateTablesAndSeed);
}

void createDatabaseFile(const QString &path, const std::function<void(const Database &)> &populate)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isWritable())
        throw StoreFailure::fromEngine(StoreFailure::Creating, ResultCode::readOnly, path, QString());

    // Only the unique name is taken from QTemporaryFile: it keeps its file open
    // until it is destroyed, and Windows lets nobody move an open file.
    QString temporaryPath;
    {
        QTemporaryFile file(path + QStringLiteral(".XXXXXX.part"));
        file.setAutoRemove(false);
        if (!file.open())
            throw StoreFailure::fromEngine(StoreFailure::Creating, ResultCode::ioError, path, file.errorString());
        temporaryPath = file.fileName();
    }

    try {
        buildDatabaseFile(temporaryPath, populate);
        checkComplete(temporaryPath);
    } catch (const DatabaseError &error) {
        QFile::remove(temporaryPath);
        removeLogsOf(temporaryPath);
        throw StoreFailure::fromEngine(StoreFailure::Creating, error.resultCode(), path,
                                       error.engineText().isEmpty() ? error.summary() : error.engineText());
    }

    // Another Zorvel may have created the file in the meantime; its file is as
    // good as ours, so ours is dropped.
    QString moveError;
    if (moveNewFileIntoPlace(temporaryPath, path, moveError))
        return;
    QFile::remove(temporaryPath);
    if (!QFileInfo::exists(path))
        throw StoreFailure::fromEngine(StoreFailure::Creating, ResultCode::ioError, path, moveError);
}

QStringList setAsideOrphanedLogs(const QString &path)
{
    if (QFileInfo::exists(path))
        return {};
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QStringList setAside;
    for (const char *suffix : logSuffixes) {
        const QString log = path + QLatin1StringView(suffix);
        if (!QFileInfo::exists(log))
            continue;
        const QString target = setAsideName(log, stamp);
        QFile file(log);
        if (!file.rename(target)) {
            throw DatabaseError(QStringLiteral("数据文件夹里有上次留下的日志文件“%1”，却没有与它对应的数据库文件。"
                                               "Zorvel 无法把它移到一旁，为了不让它损坏新的数据库，"
                                               "没有创建数据库。请检查数据文件夹的访问权限后重新启动 Zorvel。")
                                    .arg(displayPath(log)),
                                file.errorString());
        }
        setAside.append(target);
    }
    return setAside;
}

void removeLeftoverPartFiles(const QString &path)
{
    const QFileInfo database(path);
    const QRegularExpression ownNaming(QStringLiteral("^%1\\.[A-Za-z0-9]{6}\\.part(-journal|-wal|-shm)?$")
                                           .arg(QRegularExpression::escape(database.fileName())));
    for (const QFileInfo &info : database.dir().entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (ownNaming.match(info.fileName()).hasMatch())
            QFile::remove(info.absoluteFilePath());
    }
}

ConnectionSettings BuildConnectionString(const QString &path)
{
    return {path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs)};
}

// Where the logs were put is told even when the start fails after setting them
// aside: the next start no longer finds them.
QList<StartupNotice> OpenDatabase(Database &db)
{
    const QString path = GetDatabasePath();
    QList<StartupNotice> notices;
    if (const QStringList setAside = setAsideOrphanedLogs(path); !setAside.isEmpty())
        notices.append(setAsideNotice(setAside));
    try {
        EnsureDatabaseFile(path);
        notices += db.open(BuildConnectionString(path));
    } catch (const DatabaseError &error) {
        if (notices.isEmpty())
            throw;
        throw DatabaseError(error.summary() + QStringLiteral("\n\n") + notices.first().text, error.engineText(),
                            error.resultCode());
    }
    return notices;
}
