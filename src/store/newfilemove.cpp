// SPDX-License-Identifier: GPL-3.0-or-later
#include "newfilemove.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN

QString systemMessage(DWORD code)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    QString text = length > 0 ? QString::fromWCharArray(buffer, int(length)).trimmed()
                              : QStringLiteral("Windows error %1").arg(code);
    LocalFree(buffer);
    return text;
}

// Without MOVEFILE_REPLACE_EXISTING in `flags` an existing target is never replaced; the
// write-through flag returns only once the move is on the disk.
// SQLite retries its own files as often, with pauses growing by 25 ms.
constexpr int moveTries = 10;
constexpr DWORD pauseStepMs = 25;

bool moveWrittenThrough(const QString &from, const QString &to, DWORD flags, QString &error)
{
    const std::wstring source = QDir::toNativeSeparators(from).toStdWString();
    const std::wstring target = QDir::toNativeSeparators(to).toStdWString();
    DWORD lastError = ERROR_SUCCESS;
    const auto move = [&] {
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH | flags))
            return MoveTry::Done;
        lastError = GetLastError();
        return lastError == ERROR_SHARING_VIOLATION || lastError == ERROR_ACCESS_DENIED
                || lastError == ERROR_LOCK_VIOLATION
            ? MoveTry::Held
            : MoveTry::Failed;
    };
    if (retryWhileHeld(
            move, [](int tried) { Sleep(pauseStepMs * DWORD(tried)); }, moveTries))
        return true;
    error = systemMessage(lastError);
    return false;
}

#else

void syncFolder(const QString &folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

#endif

} // namespace

bool retryWhileHeld(const std::function<MoveTry()> &move, const std::function<void(int)> &pause, int tries)
{
    for (int tried = 1;; ++tried) {
        const MoveTry outcome = move();
        if (outcome != MoveTry::Held || tried >= tries)
            return outcome == MoveTry::Done;
        pause(tried);
    }
}

bool moveNewFileIntoPlace(const QString &from, const QString &to, QString &error)
{
#ifdef Q_OS_WIN
    return moveWrittenThrough(from, to, 0, error);
#else
    // QFile::rename refuses an existing target.
    QFile file(from);
    if (!file.rename(to)) {
        error = file.errorString();
        return false;
    }
    syncFolder(QFileInfo(to).absolutePath());
    return true;
#endif
}

bool replaceWithNewFile(const QString &from, const QString &to, QString &error)
{
#ifdef Q_OS_WIN
    return moveWrittenThrough(from, to, MOVEFILE_REPLACE_EXISTING, error);
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    syncFolder(QFileInfo(to).absolutePath());
    return true;
#endif
}
