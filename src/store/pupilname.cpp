// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupilname.h"

#include "database.h"
#include "statements.h"
#include "transaction.h"

#include <QVariant>

namespace {

const QString pupilKey = QStringLiteral("pupil");

bool hasSettingsTable(Database &db)
{
    return db.statements()
               .scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?"),
                       {QStringLiteral("settings")})
               .toInt()
        > 0;
}

} // namespace

QString storedPupilName(Database &db)
{
    if (!hasSettingsTable(db))
        return QString();
    return db.statements().scalar(QStringLiteral("SELECT value FROM settings WHERE key = ?"), {pupilKey}).toString();
}

void storePupilName(Database &db, const QString &name)
{
    db.requireWritable();
    Transaction transaction(db);
    db.statements().run(QStringLiteral("CREATE TABLE IF NOT EXISTS settings (key TEXT PRIMARY KEY, value TEXT)"));
    if (name.isEmpty())
        db.statements().run(QStringLiteral("DELETE FROM settings WHERE key = ?"), {pupilKey});
    else
        db.statements().run(QStringLiteral("INSERT OR REPLACE INTO settings (key, value) VALUES (?, ?)"),
                            {pupilKey, name});
    transaction.commit();
}
