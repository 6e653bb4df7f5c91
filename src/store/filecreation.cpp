// SPDX-License-Identifier: GPL-3.0-or-later
#include "filecreation.h"

#include "database.h"
#include "statements.h"
#include "databaseerror.h"
#include "fileheader.h"
#include "location.h"
#include "logsetaside.h"
#include "newfilemove.h"
#include "pathcheck.h"
#include "schema.h"
#include "storefailure.h"
#include "transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryFile>

namespace {

// QTemporaryFile replaces the X's of the template with as many letters and digits.
constexpr qsizetype uniquePartLength = 6;

void stampSchemaVersion(Database &db)
{
    db.statements().execute(QStringLiteral("PRAGMA application_id = %1").arg(SchemaVersion::applicationId));
    db.statements().execute(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion::current));
}

void populateInTransaction(Database &db, const std::function<void(Database &)> &populate)
{
    Transaction transaction(db);
    stampSchemaVersion(db);
    populate(db);
    transaction.commit();
}

// The committed file must stand on its own: no journal or log left beside it,
// our marks in its header, and as long as its header says.
void checkComplete(const QString &path)
{
    for (const char *suffix : logFileSuffixes) {
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

void buildDatabaseFile(const QString &path, const std::function<void(Database &)> &populate)
{
    Database creator(QStringLiteral("zorvel-create-") + QFileInfo(path).fileName());
    creator.open(BuildConnectionString(path), Database::NewFile);
    populateInTransaction(creator, populate);
    creator.close();
}

bool isLetterOrDigit(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

void EnsureDatabaseFile(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    createDatabaseFile(path, CreateTablesAndSeed);
}

void createDatabaseFile(const QString &path, const std::function<void(Database &)> &populate)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!canCreateFilesIn(folder))
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
        removeWithLogs(temporaryPath);
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

bool isOwnPartFileName(const QString &name, const QString &databaseName)
{
    const QString part = QStringLiteral(".part");
    const qsizetype uniqueAt = databaseName.size() + 1;
    const qsizetype suffixAt = uniqueAt + uniquePartLength + part.size();
    if (name.size() < suffixAt || !name.startsWith(databaseName) || name.at(databaseName.size()) != QLatin1Char('.')
        || QStringView(name).mid(uniqueAt + uniquePartLength, part.size()) != part)
        return false;
    for (qsizetype i = uniqueAt; i < uniqueAt + uniquePartLength; ++i) {
        if (!isLetterOrDigit(name.at(i)))
            return false;
    }
    const QStringView suffix = QStringView(name).mid(suffixAt);
    if (suffix.isEmpty())
        return true;
    for (const char *log : logFileSuffixes) {
        if (suffix == QLatin1StringView(log))
            return true;
    }
    return false;
}

void removeLeftoverPartFiles(const QString &path)
{
    const QFileInfo database(path);
    for (const QFileInfo &info : database.dir().entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isOwnPartFileName(info.fileName(), database.fileName()))
            QFile::remove(info.absoluteFilePath());
    }
}
