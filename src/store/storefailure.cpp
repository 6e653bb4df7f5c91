// SPDX-License-Identifier: GPL-3.0-or-later
#include "storefailure.h"

#include <QFileInfo>
#include <QSqlError>
#include <QStorageInfo>

namespace ResultCode {

int primaryOf(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xFF;
}

} // namespace ResultCode

namespace StoreFailure {

namespace {

constexpr qint64 nearlyFullBytes = 1024 * 1024;

// Each sentence names the file with "%1".

QString damagedSentence()
{
    return QStringLiteral("数据库文件“%1”已损坏。为了保护其中的记录，Zorvel 只以只读方式打开它，"
                          "不会再写入。建议您先备份这个文件。");
}

QString readOnlyWriteSentence()
{
    return QStringLiteral("数据库文件“%1”是只读的，改动无法保存。");
}

QString openingSentence(int code)
{
    switch (code) {
    case ResultCode::full:
        return QStringLiteral("磁盘空间不足，Zorvel 无法打开数据库文件“%1”。请腾出一些磁盘空间后重新启动 Zorvel。");
    case ResultCode::ioError:
        return QStringLiteral("读取数据库文件“%1”时出错，文件没有被改动。请检查磁盘后重新启动 Zorvel。");
    case ResultCode::busy:
    case ResultCode::locked:
        return QStringLiteral("数据库文件“%1”正被另一个程序锁定，等待超时，Zorvel 无法使用它。"
                              "请关闭正在使用它的程序后重新启动 Zorvel。");
    default:
        return QStringLiteral("无法打开数据库文件“%1”。");
    }
}

QString statementSentence(int code)
{
    switch (code) {
    case ResultCode::full:
        return QStringLiteral("磁盘空间不足，改动没有保存到数据库文件“%1”中。请腾出一些磁盘空间后再试。");
    case ResultCode::ioError:
        return QStringLiteral("读写数据库文件“%1”时出错，这次操作没有完成。请检查磁盘后再试。");
    case ResultCode::busy:
    case ResultCode::locked:
        return QStringLiteral("数据库文件“%1”正被另一个程序占用，等待超时，这次操作没有完成。请稍后再试。");
    case ResultCode::readOnly:
        return readOnlyWriteSentence();
    case ResultCode::corrupt:
    case ResultCode::notADatabase:
        return damagedSentence();
    default:
        return QStringLiteral("数据库操作失败。");
    }
}

QString creatingSentence(int code)
{
    switch (code) {
    case ResultCode::full:
        return QStringLiteral("磁盘空间不足，无法创建数据库文件“%1”。请腾出一些磁盘空间后重新启动 Zorvel。");
    case ResultCode::readOnly:
        return QStringLiteral("数据文件夹是只读的，无法创建数据库文件“%1”。");
    case ResultCode::ioError:
        return QStringLiteral("写入新的数据库文件“%1”时出错，没有创建该文件。请检查磁盘后重新启动 Zorvel。");
    default:
        return QStringLiteral("无法创建数据库文件“%1”。");
    }
}

QString withPath(const QString &sentence, const QString &path)
{
    return sentence.contains(QStringLiteral("%1")) ? sentence.arg(displayPath(path)) : sentence;
}

} // namespace

bool isFullDisk(int resultCode, const QString &path)
{
    if (resultCode == ResultCode::full)
        return true;
    if (resultCode != ResultCode::ioError)
        return false;
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    return storage.isValid() && storage.bytesAvailable() < nearlyFullBytes;
}

DatabaseError fromEngine(Activity activity, int resultCode, const QString &path, const QString &engineText)
{
    const int code = isFullDisk(resultCode, path) ? ResultCode::full : resultCode;
    QString sentence;
    switch (activity) {
    case Opening:
        sentence = openingSentence(code);
        break;
    case Statement:
        sentence = statementSentence(code);
        break;
    case Creating:
        sentence = creatingSentence(code);
        break;
    }
    return DatabaseError(withPath(sentence, path), engineText, code);
}

DatabaseError notOurDatabase(const QString &path)
{
    return DatabaseError(QStringLiteral("文件“%1”不是 Zorvel 的数据库，程序没有改动它。"
                                        "请把它移走或改名，然后重新启动 Zorvel。")
                             .arg(displayPath(path)));
}

DatabaseError newerVersion(const QString &path)
{
    return DatabaseError(QStringLiteral("数据库文件“%1”由较新版本的 Zorvel 创建，本程序无法使用它。"
                                        "程序没有改动它，请用较新版本的 Zorvel 打开它。")
                             .arg(displayPath(path)));
}

DatabaseError logBeside(const QString &path)
{
    return DatabaseError(
        QStringLiteral("文件“%1”旁边有它的日志文件（-wal），它可能正被使用，日志中的记录也不在文件本身里。"
                       "程序没有改动它。请用 zorvel --data 该文件 --backup 副本 先做一个完整的副本，"
                       "再使用那个副本。")
            .arg(displayPath(path)));
}

DatabaseError unreadable(const QString &path, const QString &reason)
{
    return DatabaseError(QStringLiteral("无法读取数据库文件“%1”，文件没有被改动。"
                                        "请检查磁盘和文件的访问权限后重新启动 Zorvel。")
                             .arg(displayPath(path)),
                         reason, ResultCode::ioError);
}

DatabaseError writeRefused(const QString &path, bool damaged)
{
    if (damaged)
        return DatabaseError(withPath(damagedSentence(), path), QString(), ResultCode::corrupt);
    return DatabaseError(withPath(readOnlyWriteSentence(), path), QString(), ResultCode::readOnly);
}

DatabaseError danglingLink(const QString &path, const QString &target)
{
    return DatabaseError(
        QStringLiteral("数据库文件“%1”是一个链接，它指向的“%2”不存在，可能是存放它的磁盘没有连接。"
                       "Zorvel 没有改动它，也没有新建数据库。请连接存放训练记录的磁盘或恢复链接指向的文件；"
                       "如果要重新开始，请删除这个链接后重新启动 Zorvel。")
            .arg(displayPath(path), displayPath(target)),
        QString(), ResultCode::cantOpen);
}

DatabaseError pathTooLong(const QString &path, qint64 bytes, qint64 limit)
{
    // The unit SQLite counts in, and where the user's data folder is set.
#ifdef Q_OS_WIN
    const QString unit = QStringLiteral("个字符");
    const QString dataFolderSetting = QStringLiteral("%APPDATA%");
#else
    const QString unit = QStringLiteral("字节");
    const QString dataFolderSetting = QStringLiteral("XDG_DATA_HOME");
#endif
    return DatabaseError(QStringLiteral("数据库文件的路径“%1”太长（%2 %4），数据库最多只能使用 %3 %4以内的路径，"
                                        "Zorvel 无法在那里保存训练记录。请把数据文件夹设在路径较短的位置"
                                        "（例如缩短用户文件夹或 %5 的路径）后重新启动 Zorvel。")
                             .arg(displayPath(path))
                             .arg(bytes)
                             .arg(limit)
                             .arg(unit, dataFolderSetting),
                         QString(), ResultCode::cantOpen);
}

QString readOnlyNotice(const QString &path)
{
    return QStringLiteral("数据库文件“%1”或它所在的文件夹是只读的。Zorvel 将以只读方式打开它："
                          "您可以查看评价，但新的问题和回答不会被保存。")
        .arg(displayPath(path));
}

QString readOnlyWithoutLogNotice(const QString &path)
{
    return QStringLiteral("数据库文件“%1”或它所在的文件夹是只读的，而且旁边的日志文件“%2”无法读取。"
                          "Zorvel 将以只读方式打开它：评价只包含数据库文件本身保存的记录，可能缺少最近的回答；"
                          "新的问题和回答不会被保存。")
        .arg(displayPath(path), displayPath(path + QStringLiteral("-wal")));
}

QString missingTablesNotice(const QString &path, const QStringList &tables)
{
    return QStringLiteral("数据库文件“%1”已损坏：其中缺少表 %2。为了保护其余的记录，Zorvel 只以只读方式打开它，"
                          "不会再写入。建议您先备份这个文件。")
        .arg(displayPath(path), tables.join(QStringLiteral("、")));
}

QString cutShortNotice(const QString &path)
{
    return QStringLiteral("数据库文件“%1”已损坏：它比文件头记录的长度短。为了保护其中的记录，"
                          "Zorvel 只以只读方式打开它，不会再写入。建议您先备份这个文件。")
        .arg(displayPath(path));
}

QString damagedNotice(const QString &path)
{
    return withPath(damagedSentence(), path);
}

} // namespace StoreFailure
