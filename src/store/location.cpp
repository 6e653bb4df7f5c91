// SPDX-License-Identifier: GPL-3.0-or-later
#include "location.h"

#include "databaseerror.h"
#include "filecreation.h"
#include "logsetaside.h"
#include "pathcheck.h"
#include "questionrecords.h"
#include "storefailure.h"
#include "transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shlobj.h>
#endif

namespace {

const QString dataFolderName = QStringLiteral("Zorvel");
const QString databaseFileName = QStringLiteral("Zorvel.mdb");
constexpr int busyTimeoutMs = 10000;

#ifdef Q_OS_WIN
// The shell's own lookup of the roaming application data folder, for the rare
// process that was started without the APPDATA variable.
QString roamingAppDataFromShell()
{
    wchar_t *folder = nullptr;
    QString path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder)))
        path = QDir::fromNativeSeparators(QString::fromWCharArray(folder));
    CoTaskMemFree(folder);
    return path;
}
#endif

} // namespace

QString GetAppDataFolder()
{
#ifdef Q_OS_WIN
    QString roaming = qEnvironmentVariable("APPDATA");
    if (roaming.isEmpty())
        roaming = roamingAppDataFromShell();
    return roaming.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(roaming));
#else
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
#endif
}

QString databaseFileLocation()
{
    const QString root = GetAppDataFolder();
    if (root.isEmpty() || root == QStringLiteral("."))
        return QString();
    return root + QLatin1Char('/') + dataFolderName + QLatin1Char('/') + databaseFileName;
}

void makeDataFolder(const QString &path)
{
    if (path.isEmpty())
        throw DatabaseError(QStringLiteral("找不到当前用户的应用数据文件夹，无法保存训练记录。"));
    const QString folder = QFileInfo(path).path();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        throw DatabaseError(QStringLiteral("无法创建数据文件夹“%1”。请检查该位置是否可写，"
                                           "以及是否被同名文件占用。")
                                .arg(displayPath(folder)));
    }
}

QString GetDatabasePath()
{
    const QString path = databaseFileLocation();
    makeDataFolder(path);
    return path;
}

ConnectionSettings BuildConnectionString(const QString &path)
{
    return {path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs)};
}

// Where the logs were put is told even when the start fails after setting them
// aside: the next start no longer finds them.
QList<StartupNotice> OpenDatabase(Database &db, const QString &path)
{
    requireUsableDatabasePath(path);
    makeDataFolder(path);
    QList<StartupNotice> notices;
    if (const QStringList setAside = setAsideOrphanedLogs(path); !setAside.isEmpty())
        notices.append(setAsideNotice(setAside));
    try {
        EnsureDatabaseFile(path);
        notices += db.open(BuildConnectionString(path));
    } catch (const DatabaseError &error) {
        if (notices.isEmpty())
            throw;
        throw DatabaseError(error.summary() + QStringLiteral("\n\n") + notices.first().text, error.engineText(),
                            error.resultCode());
    }
    if (db.isWritable())
        removeLeftoverPartFiles(path);
    return notices;
}

// A write may spread damage that no read has met yet: the questions are deleted
// only once the whole file has been read. A failure here costs nothing but
// tidiness: it is told, and the session goes on.
QList<StartupNotice> finishOpening(Database &db)
{
    if (db.settleIntegrityCheck())
        return {{StartupNotice::Warning, StoreFailure::damagedNotice(db.filePath())}};
    if (!db.isWritable())
        return {};
    try {
        Transaction transaction(db);
        deleteQuestionsLeftUnanswered(db);
        transaction.commit();
    } catch (const DatabaseError &error) {
        return {{StartupNotice::Warning, error.text()}};
    }
    return {};
}

QList<StartupNotice> OpenDatabase(Database &db)
{
    return OpenDatabase(db, databaseFileLocation());
}
