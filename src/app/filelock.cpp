// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelock.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QCryptographicHash>

#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

QString pathKey(const QString &path)
{
    return path.toCaseFolded();
}

namespace {

// A named mutex of the user's session for the file: every start on the same
// file meets it, and it goes when the last process that opened it ends.
FileLock::Outcome lockByName(const QString &path, void *&handle)
{
    const QByteArray key = pathKey(QFileInfo(path).absoluteFilePath()).toUtf8();
    const QString name = QStringLiteral("Local\\zorvel-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t *>(name.utf16()));
    if (!mutex)
        return FileLock::Unusable;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return FileLock::HeldElsewhere;
    }
    handle = mutex;
    return FileLock::Locked;
}

// The lock file, open for the whole run. Others may read and write it, but not
// delete or rename it, which would let a second start make a new one.
FileLock::Outcome lockFile(const QString &path, void *&handle)
{
    const QString native = QFileInfo(path).absoluteFilePath().replace(QLatin1Char('/'), QLatin1Char('\\'));
    HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) // a folder, or a scanner holding it: the mutex alone guards
        return FileLock::Unusable;
    OVERLAPPED whole = {};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? FileLock::HeldElsewhere
                                                                          : FileLock::Unusable;
    }
    handle = file;
    return FileLock::Locked;
}

} // namespace

FileLock::FileLock(const QString &path) : m_path(path)
{
}

FileLock::~FileLock()
{
    unlock();
}

// Both guards or none: the mutex first, then the file's byte lock where the
// file can be opened. Either held elsewhere keeps this start out.
FileLock::Outcome FileLock::tryLock()
{
    if (isLocked())
        return Locked;
    const Outcome byName = lockByName(m_path, m_mutex);
    if (byName == HeldElsewhere)
        return HeldElsewhere;
    const Outcome byFile = lockFile(m_path, m_handle);
    if (byFile == HeldElsewhere || (byFile == Unusable && byName == Unusable)) {
        unlock();
        return byFile;
    }
    return Locked;
}

void FileLock::unlock()
{
    if (m_handle)
        CloseHandle(static_cast<HANDLE>(m_handle));
    if (m_mutex)
        CloseHandle(static_cast<HANDLE>(m_mutex));
    m_handle = nullptr;
    m_mutex = nullptr;
}

bool FileLock::isLocked() const
{
    return m_handle != nullptr || m_mutex != nullptr;
}

#else

QString pathKey(const QString &path)
{
    return path;
}

namespace {

// The lock belongs to the open file description: two opens in one process
// exclude each other as two processes do, and the lock ends with the last
// descriptor of the open.
FileLock::Outcome lockDescriptor(int descriptor)
{
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
        return FileLock::Locked;
    return errno == EWOULDBLOCK ? FileLock::HeldElsewhere : FileLock::Unusable;
}

// Opens the lock file itself: never through a link, and only a plain file.
int openLockFile(const QByteArray &path)
{
    int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    // A lock file this user may only read (a read-only mount) locks all the same.
    if (descriptor < 0 && (errno == EACCES || errno == EROFS))
        descriptor = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return -1;
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return -1;
    }
    if ((status.st_mode & 077) != 0)
        ::fchmod(descriptor, status.st_mode & 0700);
    return descriptor;
}

int openFolder(const QByteArray &path)
{
    return ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

} // namespace

FileLock::FileLock(const QString &path) : m_path(path)
{
}

FileLock::~FileLock()
{
    unlock();
}

FileLock::Outcome FileLock::tryLock()
{
    if (m_descriptor >= 0)
        return Locked;
    int descriptor = openLockFile(QFile::encodeName(m_path));
    if (descriptor < 0)
        descriptor = openFolder(QFile::encodeName(QFileInfo(m_path).absolutePath()));
    if (descriptor < 0)
        return Unusable;
    const Outcome outcome = lockDescriptor(descriptor);
    if (outcome == Locked)
        m_descriptor = descriptor;
    else
        ::close(descriptor);
    return outcome;
}

void FileLock::unlock()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

bool FileLock::isLocked() const
{
    return m_descriptor >= 0;
}

#endif
