// SPDX-License-Identifier: GPL-3.0-or-later
#include "integritycheck.h"

#include "storefailure.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

std::atomic_int nextCheckNumber = 1;

bool meansDamaged(const QSqlError &error)
{
    const int code = ResultCode::primaryOf(error);
    return code == ResultCode::corrupt || code == ResultCode::notADatabase;
}

IntegrityCheck::Outcome quickCheck(QSqlDatabase &connection)
{
    if (!connection.open())
        return meansDamaged(connection.lastError()) ? IntegrityCheck::Damaged : IntegrityCheck::Unknown;
    QSqlQuery query(connection);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return meansDamaged(query.lastError()) ? IntegrityCheck::Damaged : IntegrityCheck::Unknown;
    // One row "ok" when the file is whole; otherwise one row per fault found.
    const bool whole = query.next() && query.value(0).toString() == QStringLiteral("ok") && !query.next();
    if (query.lastError().isValid() && !meansDamaged(query.lastError()))
        return IntegrityCheck::Unknown;
    return whole ? IntegrityCheck::Whole : IntegrityCheck::Damaged;
}

} // namespace

IntegrityCheck::IntegrityCheck(const QString &path, const QString &connectOptions, std::function<void()> finished)
    : m_finished(std::move(finished)),
      m_thread([this, path, connectOptions] { run(path, connectOptions); })
{
}

IntegrityCheck::~IntegrityCheck()
{
    wait();
}

IntegrityCheck::Outcome IntegrityCheck::wait()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_outcome;
}

// A Qt SQL connection belongs to the thread that made it: this one is made,
// used and removed here.
void IntegrityCheck::run(const QString &path, const QString &connectOptions)
{
    QElapsedTimer timer;
    timer.start();
    const QString name = QStringLiteral("zorvel-check-%1").arg(nextCheckNumber++);
    Outcome outcome = Unknown;
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        connection.setDatabaseName(path);
        connection.setConnectOptions(connectOptions.isEmpty()
                                         ? QStringLiteral("QSQLITE_OPEN_READONLY")
                                         : connectOptions + QStringLiteral(";QSQLITE_OPEN_READONLY"));
        outcome = quickCheck(connection);
        connection.close();
    }
    QSqlDatabase::removeDatabase(name);
    m_elapsedMs = timer.elapsed();
    m_outcome = outcome;
    if (m_finished)
        m_finished();
}
