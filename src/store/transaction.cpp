// SPDX-License-Identifier: GPL-3.0-or-later
#include "transaction.h"

#include "database.h"
#include "sessioncache.h"
#include "statements.h"

#include <QSqlDatabase>
#include <QSqlQuery>

Transaction::Transaction(Database &db) : m_db(db)
{
    m_db.requireWritable();
    m_db.statements().run(QStringLiteral("BEGIN IMMEDIATE"));
    m_db.statements().cache().begin();
}

// A failed commit may have ended the transaction already; the rollback then finds
// none, which is as it should be.
Transaction::~Transaction()
{
    if (!m_open)
        return;
    m_db.statements().cache().rollback();
    QSqlDatabase connection = m_db.statements().connection();
    if (connection.isOpen())
        QSqlQuery(connection).exec(QStringLiteral("ROLLBACK"));
}

void Transaction::commit()
{
    m_db.statements().run(QStringLiteral("COMMIT"));
    m_open = false;
    m_db.statements().cache().commit();
}
