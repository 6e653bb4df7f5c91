// SPDX-License-Identifier: GPL-3.0-or-later
#include "pathcheck.h"

#include "storefailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

// The creation builds "<path>.XXXXXX.part" first, with its rollback journal
// "<path>.XXXXXX.part-journal"; SQLite holds the journal's name to the same limit.
constexpr qint64 creationSuffixLength = 20;

// SQLite's Unix files take full paths of up to 512 bytes; Windows paths without
// the long-path prefix, up to 259 UTF-16 units and the terminating nul.
#ifdef Q_OS_WIN
constexpr qint64 longestOpenedPath = 259;
#else
constexpr qint64 longestOpenedPath = 512;
#endif

// SQLite resolves links in the folders; a folder not made yet counts as written.
QString resolvedFolderPath(const QString &path)
{
    const QFileInfo file(QFileInfo(path).absoluteFilePath());
    const QString canonical = QFileInfo(file.path()).canonicalFilePath();
    return (canonical.isEmpty() ? file.path() : canonical) + QLatin1Char('/') + file.fileName();
}

} // namespace

qint64 longestDatabasePath()
{
    return longestOpenedPath - creationSuffixLength;
}

qint64 databasePathLength(const QString &path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(resolvedFolderPath(path)).size();
#else
    return QFile::encodeName(resolvedFolderPath(path)).size();
#endif
}

void requireUsableDatabasePath(const QString &path)
{
    const qint64 length = databasePathLength(path);
    if (length > longestDatabasePath())
        throw StoreFailure::pathTooLong(path, length, longestDatabasePath());
    const QFileInfo file(path);
    if (file.isSymLink() && !file.exists())
        throw StoreFailure::danglingLink(path, file.symLinkTarget());
}

bool canCreateFilesIn(const QString &folder)
{
#ifdef Q_OS_WIN
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("zorvel-write-test-XXXXXX.tmp")));
    return probe.open();
#else
    return QFileInfo(folder).isWritable();
#endif
}
