// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil.h"

#include "store/database.h"
#include "store/location.h"
#include "store/pupilname.h"

#include <QDir>
#include <QFileInfo>

QString pupilNameToStore(const QString &typed)
{
    return typed.simplified();
}

QString defaultPupilName(const QString &dataPath, const QString &ownDataPath, const QString &accountName)
{
    const bool own = !ownDataPath.isEmpty()
        && QDir::cleanPath(QFileInfo(dataPath).absoluteFilePath())
            == QDir::cleanPath(QFileInfo(ownDataPath).absoluteFilePath());
    if (own && !accountName.trimmed().isEmpty())
        return accountName.trimmed();
    return QFileInfo(dataPath).completeBaseName();
}

QString accountUserName()
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable("USERNAME");
#else
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
#endif
}

QString pupilNameOf(Database &db)
{
    const QString stored = storedPupilName(db);
    if (!stored.isEmpty())
        return stored;
    return defaultPupilName(db.filePath(), databaseFileLocation(), accountUserName());
}
