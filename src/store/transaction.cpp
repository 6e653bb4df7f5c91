#include "transaction.h"

#include "database.h"
#include "databaseerror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlError>

Transaction::Transaction(const Database &db)
    : m_db(db)
{
    QSqlDatabase connection = m_db.openConnection();
    if (!connection.transaction())
        throw DatabaseError(QStringLiteral("无法开始数据库事务。"), connection.lastError().text());
}

Transaction::~Transaction()
{
    if (m_open)
        m_db.connection().rollback();
}

void Transaction::commit()
{
    QSqlDatabase connection = m_db.connection();
    if (!connection.commit())
        throw DatabaseError(QStringLiteral("无法保存数据库的改动。"), connection.lastError().text());
    m_open = false;
}
