// SPDX-License-Identifier: GPL-3.0-or-later
#include "database.h"

#include "databaseerror.h"
#include "fileheader.h"
#include "sessioncache.h"
#include "storefailure.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUrl>

#include <atomic>

namespace {

std::atomic_int nextConnectionNumber = 1;

// The training loop runs a few dozen different statements; more than this many
// means texts that vary (lists of names of any length), which are let go.
constexpr qsizetype keptStatementLimit = 64;

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
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
        + QStringLiteral("?immutable=1");
}

// SQLite needs the folder as well as the file: the log and its index live beside it.
bool canWriteBeside(const QString &path)
{
    const QFileInfo file(path);
    return file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

bool meansDamaged(int resultCode)
{
    return resultCode == ResultCode::corrupt || resultCode == ResultCode::notADatabase;
}

bool onlyReads(const QString &sql)
{
    return sql.startsWith(QLatin1StringView("SELECT"), Qt::CaseInsensitive);
}

} // namespace

Database::Database()
    : Database(QStringLiteral("zorvel-%1").arg(nextConnectionNumber++))
{
}

struct Database::PreparedStatements
{
    QHash<QString, QSqlQuery> bySql;
};

Database::Database(const QString &connectionName)
    : m_connectionName(connectionName),
      m_prepared(std::make_unique<PreparedStatements>()),
      m_cache(std::make_unique<SessionCache>())
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

    if (!canWriteBeside(path)) {
        openImmutable(ReadOnly);
        return {{StartupNotice::Warning, StoreFailure::readOnlyNotice(path)}};
    }
    try {
        openWritable(true);
    } catch (const DatabaseError &error) {
        if (error.resultCode() == ResultCode::readOnly) {
            openImmutable(ReadOnly);
            return {{StartupNotice::Warning, StoreFailure::readOnlyNotice(path)}};
        }
        if (meansDamaged(error.resultCode())) {
            openImmutable(Damaged);
            return {{StartupNotice::Warning, StoreFailure::damagedNotice(path)}};
        }
        throw;
    }
    return {};
}

void Database::openConnectionWith(const QString &databaseName, const QString &connectOptions) const
{
    QSqlDatabase connection = QSqlDatabase::database(m_connectionName, false);
    if (!connection.isValid())
        throw DatabaseError(QStringLiteral("找不到 SQLite 数据库驱动，无法打开数据库。"));
    connection.setDatabaseName(databaseName);
    connection.setConnectOptions(connectOptions);
    if (!connection.open()) {
        const QSqlError error = connection.lastError();
        connection.close();
        throw StoreFailure::fromEngine(StoreFailure::Opening, ResultCode::primaryOf(error), filePath(),
                                       error.text());
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
void Database::openImmutable(Access access) const
{
    closeConnection();
    m_access = access;
    openConnectionWith(immutableUri(filePath()),
                       joinOptions({m_settings.connectOptions, QStringLiteral("QSQLITE_OPEN_READONLY"),
                                    QStringLiteral("QSQLITE_OPEN_URI")}));
    if (access == Damaged)
        QSqlQuery(connection()).exec(QStringLiteral("PRAGMA writable_schema = ON"));
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
void Database::configureConnection(bool existingFile) const
{
    const QStringList statements = existingFile
        ? QStringList{QStringLiteral("PRAGMA journal_mode = WAL"), QStringLiteral("PRAGMA synchronous = NORMAL"),
                      QStringLiteral("SELECT count(*) FROM sqlite_master")}
        : QStringList{QStringLiteral("PRAGMA journal_mode = DELETE"), QStringLiteral("PRAGMA synchronous = FULL")};
    for (const QString &sql : statements) {
        QSqlQuery query(connection());
        if (!query.exec(sql)) {
            throw StoreFailure::fromEngine(StoreFailure::Opening, ResultCode::primaryOf(query.lastError()),
                                           filePath(), query.lastError().text());
        }
    }
}

void Database::close()
{
    closeConnection();
}

void Database::closeConnection() const
{
    m_prepared->bySql.clear();
    m_cache->clear();
    QSqlDatabase connection = QSqlDatabase::database(m_connectionName, false);
    if (connection.isOpen())
        connection.close();
}

bool Database::isOpen() const
{
    return connection().isOpen();
}

QString Database::filePath() const
{
    return m_settings.databaseName;
}

void Database::requireWritable() const
{
    openConnection();
    if (m_access != Writable)
        throw StoreFailure::writeRefused(filePath(), m_access == Damaged);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlDatabase Database::openConnection() const
{
    QSqlDatabase db = connection();
    if (!db.isOpen())
        throw DatabaseError(QStringLiteral("数据库没有打开，无法完成这个操作。请检查数据文件夹后重新启动 Zorvel。"));
    return db;
}

QSqlQuery Database::execute(const QString &sql, const QVariantList &values) const
{
    QSqlQuery query(openConnection());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        fail(query);
    if (!onlyReads(sql))
        m_cache->forgetAll();
    return query;
}

// A kept statement is bound afresh for each run; it stays prepared, and its
// callers reset it (QSqlQuery::finish()) once they have read what they need, so
// that it holds no snapshot of the file between runs.
QSqlQuery &Database::runPrepared(const QString &sql, const QVariantList &values) const
{
    const QSqlDatabase connection = openConnection();
    QHash<QString, QSqlQuery> &kept = m_prepared->bySql;
    auto found = kept.find(sql);
    if (found == kept.end()) {
        if (kept.size() >= keptStatementLimit)
            kept.clear();
        QSqlQuery query(connection);
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            fail(query);
        found = kept.insert(sql, std::move(query));
    }
    QSqlQuery &query = *found;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    if (!query.exec()) {
        QSqlQuery failed = std::move(query);
        kept.erase(found);
        fail(failed);
    }
    return query;
}

// The file is never written to again once a statement has found it damaged. The
// writable connection closes (SQLite folds what it has already committed into
// the file, as on every close) and the file is opened again read-only and
// immutable, so the history can still be read.
void Database::becomeDamaged() const
{
    try {
        openImmutable(Damaged);
    } catch (const DatabaseError &) {
        // Closed it stays; every later statement says the database is not open.
    }
}

void Database::fail(QSqlQuery &query) const
{
    const QSqlError error = query.lastError();
    const int code = ResultCode::primaryOf(error);
    query = QSqlQuery();
    if (m_access != Writable && code == ResultCode::readOnly)
        throw StoreFailure::writeRefused(filePath(), m_access == Damaged);
    if (m_access == Writable && meansDamaged(code))
        becomeDamaged();
    throw StoreFailure::fromEngine(StoreFailure::Statement, code, filePath(), error.text());
}

QVariant Database::scalar(const QString &sql, const QVariantList &values) const
{
    QSqlQuery &query = runPrepared(sql, values);
    const QVariant value = query.next() ? query.value(0) : QVariant();
    query.finish();
    return value;
}

QVariantList Database::firstRow(const QString &sql, const QVariantList &values) const
{
    QSqlQuery &query = runPrepared(sql, values);
    QVariantList row;
    if (query.next()) {
        const int columns = query.record().count();
        for (int column = 0; column < columns; ++column)
            row.append(query.value(column));
    }
    query.finish();
    return row;
}

int Database::insert(const QString &sql, const QVariantList &values) const
{
    QSqlQuery &query = runPrepared(sql, values);
    const int id = query.lastInsertId().toInt();
    query.finish();
    return id;
}

void Database::run(const QString &sql, const QVariantList &values) const
{
    runPrepared(sql, values).finish();
}
