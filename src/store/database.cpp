// SPDX-License-Identifier: GPL-3.0-or-later
#include "database.h"

#include "databaseerror.h"
#include "fileheader.h"
#include "integritycheck.h"
#include "pathcheck.h"
#include "schema.h"
#include "sqliteuri.h"
#include "statements.h"
#include "storefailure.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>

namespace {

std::atomic_int nextConnectionNumber = 1;

QString joinOptions(const QStringList &options)
{
    QStringList present = options;
    present.removeAll(QString());
    return present.join(QLatin1Char(';'));
}

// An immutable file is read without locks and without its log, and nothing is
// ever written to it or beside it, not even when the connection closes.
QString immutableUri(const QString &path)
{
    return sqliteFileUri(QFileInfo(path).absoluteFilePath()) + QStringLiteral("?immutable=1");
}

// SQLite needs the folder as well as the file: the log and its index live beside it.
bool canWriteBeside(const QString &path)
{
    const QFileInfo file(path);
    return file.isWritable() && canCreateFilesIn(file.absolutePath());
}

} // namespace

Database::Database() : Database(QStringLiteral("zorvel-%1").arg(nextConnectionNumber++))
{
}

Database::Database(const QString &connectionName)
    : m_connectionName(connectionName),
      m_statements(new Statements(*this))
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
}

Database::~Database()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QList<StartupNotice> Database::open(const ConnectionSettings &settings, OpenMode mode)
{
    close();
    m_settings = settings;
    m_access = Writable;
    const QString &path = settings.databaseName;
    if (mode == NewFile) {
        openWritable(false);
        return {};
    }

    QByteArray header;
    QString reason;
    if (!readDatabaseHeader(path, header, reason))
        throw StoreFailure::unreadable(path, reason);
    switch (judgeDatabaseHeader(header, QFileInfo(path).size(), hasLogBeside(path))) {
    case FileHeaderVerdict::NotSQLite:
    case FileHeaderVerdict::OtherOwner:
        throw StoreFailure::notOurDatabase(path);
    case FileHeaderVerdict::NewerVersion:
        throw StoreFailure::newerVersion(path);
    case FileHeaderVerdict::CutShort:
        openImmutable(Damaged);
        return {{StartupNotice::Warning, StoreFailure::cutShortNotice(path)}};
    case FileHeaderVerdict::Ours:
        break;
    }

    if (mode == Untouched) {
        if (hasLogBeside(path))
            throw StoreFailure::logBeside(path);
        openImmutable(ReadOnly);
        return {};
    }

    QList<StartupNotice> notices;
    if (!canWriteBeside(path)) {
        notices = openReadOnly();
    } else {
        try {
            openWritable(true);
        } catch (const DatabaseError &error) {
            if (error.resultCode() == ResultCode::readOnly) {
                notices = openReadOnly();
            } else if (ResultCode::meansDamaged(error.resultCode())) {
                openImmutable(Damaged);
                return {{StartupNotice::Warning, StoreFailure::damagedNotice(path)}};
            } else {
                throw;
            }
        }
    }
    if (const QStringList missing = missingTables(); !missing.isEmpty()) {
        if (m_access == Writable)
            openImmutable(Damaged);
        m_access = Damaged;
        return {{StartupNotice::Warning, StoreFailure::missingTablesNotice(path, missing)}};
    }
    return notices;
}

// Immutable, SQLite would not read the log beside the file, and the history
// would end at the last checkpoint. The file and its log are read from a copy
// instead, where SQLite may make the log's index.
QList<StartupNotice> Database::openReadOnly()
{
    const QString path = filePath();
    if (!hasLogBeside(path)) {
        openImmutable(ReadOnly);
        return {{StartupNotice::Warning, StoreFailure::readOnlyNotice(path)}};
    }
    if (openPrivateCopy())
        return {{StartupNotice::Warning, StoreFailure::readOnlyNotice(path)}};
    openImmutable(ReadOnly);
    return {{StartupNotice::Warning, StoreFailure::readOnlyWithoutLogNotice(path)}};
}

bool Database::openPrivateCopy()
{
    closeConnection();
    m_access = ReadOnly;
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid())
        return false;
    const QString copy = folder->filePath(QStringLiteral("copy.mdb"));
    if (!QFile::copy(filePath(), copy)
        || !QFile::copy(filePath() + QStringLiteral("-wal"), copy + QStringLiteral("-wal")))
        return false;
    try {
        openConnectionWith(copy, m_settings.connectOptions);
        QSqlQuery query(m_statements->connection());
        if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            throw DatabaseError(query.lastError().text());
    } catch (const DatabaseError &) {
        closeConnection();
        return false;
    }
    m_privateCopy = std::move(folder);
    return true;
}

QStringList Database::missingTables() const
{
    QStringList missing = tableNames();
    QSqlQuery query(m_statements->connection());
    if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        return {};
    while (query.next())
        missing.removeAll(query.value(0).toString());
    return missing;
}

void Database::openConnectionWith(const QString &databaseName, const QString &connectOptions)
{
    QSqlDatabase connection = m_statements->connection();
    if (!connection.isValid())
        throw DatabaseError(QStringLiteral("找不到 SQLite 数据库驱动，无法打开数据库。"));
    connection.setDatabaseName(databaseName);
    connection.setConnectOptions(connectOptions);
    if (!connection.open()) {
        const QSqlError error = connection.lastError();
        connection.close();
        throw StoreFailure::fromEngine(StoreFailure::Opening, ResultCode::primaryOf(error), filePath(), error.text());
    }
}

void Database::openWritable(bool existingFile)
{
    openConnectionWith(m_settings.databaseName, m_settings.connectOptions);
    try {
        configureConnection(existingFile);
    } catch (...) {
        close();
        throw;
    }
}

// SQLite refuses to read a file shorter than its header says; writable_schema
// lets it read what is there. On a read-only, immutable connection it can write
// nothing.
void Database::openImmutable(Access access)
{
    close();
    m_access = access;
    openConnectionWith(immutableUri(filePath()),
                       joinOptions({m_settings.connectOptions, QStringLiteral("QSQLITE_OPEN_READONLY"),
                                    QStringLiteral("QSQLITE_OPEN_URI")}));
    if (access == Damaged)
        QSqlQuery(m_statements->connection()).exec(QStringLiteral("PRAGMA writable_schema = ON"));
}

// In use, write-ahead logging lets a second process read while this one writes,
// and with synchronous=NORMAL a commit no longer waits for the disk: a crash of
// the program loses nothing, a power cut at most the answers since the last
// checkpoint, and the file stays consistent either way. Reading the schema
// finds a damaged first page before any command does.
//
// A new file is built with a rollback journal and synchronous=FULL instead: once
// its one transaction has committed, the file holds everything and no log is
// left that would have to travel with it.
void Database::configureConnection(bool existingFile)
{
    const QStringList statements = existingFile
        ? QStringList{QStringLiteral("PRAGMA journal_mode = WAL"), QStringLiteral("PRAGMA synchronous = NORMAL"),
                      QStringLiteral("SELECT count(*) FROM sqlite_master")}
        : QStringList{QStringLiteral("PRAGMA journal_mode = DELETE"), QStringLiteral("PRAGMA synchronous = FULL")};
    for (const QString &sql : statements) {
        QSqlQuery query(m_statements->connection());
        if (!query.exec(sql)) {
            throw StoreFailure::fromEngine(StoreFailure::Opening, ResultCode::primaryOf(query.lastError()), filePath(),
                                           query.lastError().text());
        }
    }
}

void Database::close()
{
    m_check.reset();
    closeConnection();
    m_privateCopy.reset();
}

void Database::closeConnection()
{
    m_statements->forget();
    QSqlDatabase connection = m_statements->connection();
    if (connection.isOpen())
        connection.close();
}

void Database::startIntegrityCheck(std::function<void()> finished)
{
    if (!isWritable() || m_check)
        return;
    m_check = std::make_unique<IntegrityCheck>(filePath(), m_settings.connectOptions, std::move(finished));
}

bool Database::settleIntegrityCheck()
{
    if (!m_check)
        return false;
    const IntegrityCheck::Outcome outcome = m_check->wait();
    m_check.reset();
    if (outcome != IntegrityCheck::Damaged || m_access != Writable)
        return false;
    becomeDamaged();
    return true;
}

bool Database::isOpen() const
{
    return m_statements->connection().isOpen();
}

QString Database::filePath() const
{
    return m_settings.databaseName;
}

void Database::requireWritable()
{
    m_statements->openConnection();
    settleIntegrityCheck();
    if (m_access != Writable)
        throw StoreFailure::writeRefused(filePath(), m_access == Damaged);
}

// The file is never written to again once a statement has found it damaged. The
// writable connection closes (SQLite folds what it has already committed into
// the file, as on every close) and the file is opened again read-only and
// immutable, so the history can still be read.
void Database::becomeDamaged()
{
    try {
        openImmutable(Damaged);
    } catch (const DatabaseError &) {
        // Closed it stays; every later statement says the database is not open.
    }
}
