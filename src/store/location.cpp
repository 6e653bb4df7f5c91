#include "location.h"

#include "databaseerror.h"
#include "displaypath.h"
#include "schema.h"
#include "schemaversion.h"
#include "transaction.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

const QString dataFolderName = QStringLiteral("Zorvel");
const QString databaseFileName = QStringLiteral("Zorvel.mdb");
constexpr int busyTimeoutMs = 10000;

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

// Leftovers of a creation that was cut short (power loss, killed process) are
// removed once they are clearly no longer being written.
void removeStaleTemporaryFiles(const QDir &folder)
{
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-600);
    const QStringList pattern{databaseFileName + QStringLiteral(".*.part*")};
    for (const QFileInfo &info : folder.entryInfoList(pattern, QDir::Files | QDir::Hidden)) {
        if (info.lastModified().toUTC() < staleBefore)
            QFile::remove(info.absoluteFilePath());
    }
}

} // namespace

QString GetAppDataFolder()
{
#ifdef Q_OS_WIN
    const QString roaming = qEnvironmentVariable("APPDATA");
    if (!roaming.isEmpty())
        return QDir::cleanPath(QDir::fromNativeSeparators(roaming));
#endif
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString GetDatabasePath()
{
    const QString root = GetAppDataFolder();
    if (root.isEmpty() || root == QStringLiteral("."))
        throw DatabaseError(QStringLiteral("找不到当前用户的应用数据文件夹，无法保存训练记录。"));
    const QString folder = root + QLatin1Char('/') + dataFolderName;
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        throw DatabaseError(QStringLiteral("无法创建数据文件夹“%1”。请检查该位置是否可写，"
                                           "以及是否被同名文件占用。").arg(displayPath(folder)));
    }
    return folder + QLatin1Char('/') + databaseFileName;
}

void EnsureDatabaseFile(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    createDatabaseFile(path, CreateTablesAndSeed);
}

void createDatabaseFile(const QString &path, const std::function<void(const Database &)> &populate)
{
    const QFileInfo target(path);
    removeStaleTemporaryFiles(target.dir());

    QTemporaryFile file(path + QStringLiteral(".XXXXXX.part"));
    if (!file.open()) {
        throw DatabaseError(QStringLiteral("无法创建数据库文件“%1”。").arg(displayPath(path)),
                            file.errorString());
    }
    file.close();
    const QString temporaryPath = file.fileName();
    const auto removeJournal = [&] {
        for (const char *suffix : {"-journal", "-wal", "-shm"})
            QFile::remove(temporaryPath + QLatin1StringView(suffix));
    };

    {
        Database creator(QStringLiteral("zorvel-create-") + QFileInfo(temporaryPath).fileName());
        try {
            creator.open(BuildConnectionString(temporaryPath), Database::NewFile);
            populateInTransaction(creator, populate);
        } catch (const DatabaseError &error) {
            creator.close();
            removeJournal();
            throw DatabaseError(QStringLiteral("无法创建数据库文件“%1”。").arg(displayPath(path)),
                                error.text());
        }
    }
    removeJournal();

    // Another Zorvel may have created the file in the meantime; its file is as
    // good as ours, so ours is dropped with the temporary file.
    if (file.rename(path)) {
        file.setAutoRemove(false);
        return;
    }
    if (!QFileInfo::exists(path)) {
        throw DatabaseError(QStringLiteral("无法创建数据库文件“%1”。").arg(displayPath(path)),
                            file.errorString());
    }
}

ConnectionSettings BuildConnectionString(const QString &path)
{
    return {path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs)};
}

void OpenDatabase(Database &db)
{
    const QString path = GetDatabasePath();
    EnsureDatabaseFile(path);
    db.open(BuildConnectionString(path));
}
