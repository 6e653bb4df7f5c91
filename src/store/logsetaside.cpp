// SPDX-License-Identifier: GPL-3.0-or-later
#include "logsetaside.h"

#include "databaseerror.h"
#include "storefailure.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

QString setAsideName(const QString &log, const QString &stamp)
{
    QString name = log + QStringLiteral(".set-aside-") + stamp;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = log + QStringLiteral(".set-aside-%1-%2").arg(stamp).arg(n);
    return name;
}

} // namespace

QStringList setAsideOrphanedLogs(const QString &path)
{
    if (QFileInfo::exists(path))
        return {};
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QStringList setAside;
    for (const char *suffix : logFileSuffixes) {
        const QString log = path + QLatin1StringView(suffix);
        if (!QFileInfo::exists(log))
            continue;
        const QString target = setAsideName(log, stamp);
        QFile file(log);
        if (!file.rename(target)) {
            throw DatabaseError(QStringLiteral("数据文件夹里有上次留下的日志文件“%1”，却没有与它对应的数据库文件。"
                                               "Zorvel 无法把它移到一旁，为了不让它损坏新的数据库，"
                                               "没有创建数据库。请检查数据文件夹的访问权限后重新启动 Zorvel。")
                                    .arg(displayPath(log)),
                                file.errorString());
        }
        setAside.append(target);
    }
    return setAside;
}

StartupNotice setAsideNotice(const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names)
        shown.append(displayPath(name));
    return {StartupNotice::Information,
            QStringLiteral("数据文件夹里有上次留下的日志文件，却没有与它们对应的数据库文件。"
                           "为了不让它们混进新建的数据库，Zorvel 已把它们改名保存在原处：\n\n%1\n\n"
                           "如果您以前的训练记录不见了，这些文件里可能还保存着其中一部分，请不要删除它们。")
                .arg(shown.join(QLatin1Char('\n')))};
}

void removeWithLogs(const QString &path)
{
    QFile::remove(path);
    for (const char *suffix : logFileSuffixes)
        QFile::remove(path + QLatin1StringView(suffix));
}
