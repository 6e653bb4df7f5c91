#include "database.h"

#include "databaseerror.h"
#include "displaypath.h"
#include "schemaversion.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace {

std::atomic_int nextConnectionNumber = 1;

DatabaseError notOurDatabase(const QString &path, const QString &engineText = QString())
{
    return DatabaseError(QStringLiteral("文件“%1”不是 Zorvel 的数据库，程序没有改动它。"
                                        "请把它移走或改名，然后重新启动 Zorvel。").arg(displayPath(path)),
                         engineText);
}

} // namespace

Database::Database()
    : Database(QStringLiteral("zorvel-%1").arg(nextConnectionNumber++))
{
}

Database::Database(const QString &connectionName)
    : m_connectionName(connectionName)
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
}

Database::~Database()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void Database::open(const ConnectionSettings &settings, OpenMode mode)
{
    close();
    QSqlDatabase connection = QSqlDatabase::database(m_connectionName, false);
    if (!connection.isValid())
        throw DatabaseError(QStringLiteral("找不到 SQLite 数据库驱动，无法打开数据库。"));
    connection.setDatabaseName(settings.databaseName);
    connection.setConnectOptions(settings.connectOptions);
    if (!connection.open()) {
        const QString engineText = connection.lastError().text();
        connection.close();
        throw DatabaseError(QStringLiteral("无法打开数据库文件“%1”。").arg(displayPath(settings.databaseName)),
                            engineText);
    }
    try {
        if (mode == ExistingFile)
            checkFileBelongsToUs();
        configureConnection();
    } catch (...) {
        close();
        throw;
    }
}

// Write-ahead logging lets a second process read while this one writes, and with
// synchronous=NORMAL a commit no longer waits for the disk; a crash of the program
// loses nothing, a power cut at most the last answers.
void Database::configureConnection() const
{
    execute(QStringLiteral("PRAGMA journal_mode = WAL"));
    execute(QStringLiteral("PRAGMA synchronous = NORMAL"));
}

// Reads the two header marks. Reading them writes nothing, so a file that is
// refused stays byte for byte as it was.
void Database::checkFileBelongsToUs() const
{
    const QString path = displayPath(filePath());
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next())
        throw notOurDatabase(filePath(), query.lastError().text());
    if (query.value(0).toInt() != SchemaVersion::applicationId)
        throw notOurDatabase(filePath());
    query.finish();
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        throw DatabaseError(QStringLiteral("无法读取数据库文件“%1”。").arg(path), query.lastError().text());
    if (query.value(0).toInt() > SchemaVersion::current) {
        throw DatabaseError(QStringLiteral("数据库文件“%1”由较新版本的 Zorvel 创建，本程序无法使用它。")
                                .arg(path));
    }
}

void Database::close()
{
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
    return connection().databaseName();
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
        throw DatabaseError(QStringLiteral("数据库操作失败。"), query.lastError().text());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw DatabaseError(QStringLiteral("数据库操作失败。"), query.lastError().text());
    return query;
}

QVariant Database::scalar(const QString &sql, const QVariantList &values) const
{
    QSqlQuery query = execute(sql, values);
    return query.next() ? query.value(0) : QVariant();
}

int Database::insert(const QString &sql, const QVariantList &values) const
{
    const QSqlQuery query = execute(sql, values);
    return query.lastInsertId().toInt();
}
