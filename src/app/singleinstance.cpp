// SPDX-License-Identifier: GPL-3.0-or-later
#include "singleinstance.h"

#include "widgets/messageboxes.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMainWindow>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <QtGui/private/qguiapplication_p.h>

#include <windows.h>
#endif

namespace {

const QByteArray raiseRequest("raise\n");
const QByteArray raiseAnswer("ok\n");
constexpr int longestRequest = 64;
constexpr int retryPauseMs = 100;
// The longest path a Unix local socket can have, with room to spare.
constexpr int longestSocketPath = 100;

// The same file reached through a link, or before its folder exists, gives the
// same name: the deepest folder that exists is resolved, the rest appended.
QString resolvedPath(const QString &path)
{
    QFileInfo info(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!info.exists() && !info.isRoot() && info.path() != info.filePath()) {
        rest = QLatin1Char('/') + info.fileName() + rest;
        info = QFileInfo(info.path());
    }
    const QString existing = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    return QDir::cleanPath(existing + rest);
}

QString hashedName(const QString &dataFilePath)
{
    const QByteArray hash = QCryptographicHash::hash(pathKey(resolvedPath(dataFilePath)).toUtf8(),
                                                     QCryptographicHash::Sha256);
    return QStringLiteral("zorvel-") + QString::fromLatin1(hash.toHex().left(16));
}

int remainingMs(const QDeadlineTimer &deadline, int atMost)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 1, atMost));
}

#ifndef Q_OS_WIN
bool fitsSocketPath(const QString &path)
{
    return !path.isEmpty() && QFile::encodeName(path).size() <= longestSocketPath;
}
#endif

#ifdef Q_OS_WIN
// The security identifier of the user a process runs as, as bytes; empty when
// it cannot be read.
QByteArray tokenUser(HANDLE process)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    QByteArray buffer(qsizetype(size), '\0');
    QByteArray sid;
    if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        const PSID user = reinterpret_cast<const TOKEN_USER *>(buffer.constData())->User.Sid;
        sid = QByteArray(static_cast<const char *>(user), qsizetype(GetLengthSid(user)));
    }
    CloseHandle(token);
    return sid;
}
#endif

// Whether the process at the other end of a connected socket runs as this
// process's user. Another user who made a socket at a path we listen on must
// not be able to answer for us.
bool peerIsThisUser(const QLocalSocket &socket)
{
#if defined(Q_OS_LINUX)
    struct ucred credentials = {};
    socklen_t size = sizeof credentials;
    if (::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return false;
    return credentials.uid == ::geteuid();
#elif defined(Q_OS_UNIX)
    uid_t user = 0;
    gid_t group = 0;
    if (::getpeereid(int(socket.socketDescriptor()), &user, &group) != 0)
        return false;
    return user == ::geteuid();
#elif defined(Q_OS_WIN)
    // Named pipes share one name space on the machine: the process serving the
    // pipe must run as the same user as this one.
    ULONG serverProcessId = 0;
    if (!GetNamedPipeServerProcessId(reinterpret_cast<HANDLE>(socket.socketDescriptor()), &serverProcessId))
        return false;
    const HANDLE server = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, serverProcessId);
    if (!server)
        return false;
    const QByteArray serverUser = tokenUser(server);
    CloseHandle(server);
    const QByteArray ownUser = tokenUser(GetCurrentProcess());
    return !ownUser.isEmpty() && serverUser == ownUser;
#else
    Q_UNUSED(socket);
    return true;
#endif
}

// Windows keeps a program in the background from taking the foreground. A later
// start, which the user has just started and so may, hands that right to the
// first before it asks it to come forward.
void allowToComeForward(const QLocalSocket &socket)
{
#ifdef Q_OS_WIN
    ULONG serverProcessId = 0;
    if (GetNamedPipeServerProcessId(reinterpret_cast<HANDLE>(socket.socketDescriptor()), &serverProcessId))
        AllowSetForegroundWindow(serverProcessId);
#else
    Q_UNUSED(socket);
#endif
}

// Where the window is not allowed to come forward after all, Windows would only
// flash its task bar button; Qt then attaches to the foreground window's input
// to activate it.
void activateEvenFromBackground()
{
#ifdef Q_OS_WIN
    using QNativeInterface::Private::QWindowsApplication;
    if (auto *windows = qGuiApp->nativeInterface<QWindowsApplication>())
        windows->setWindowActivationBehavior(QWindowsApplication::AlwaysActivateWindow);
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString &dataFilePath, QObject *parent)
    : QObject(parent),
      m_serverNames(serverNames(dataFilePath)),
      m_lock(lockFilePath(dataFilePath))
{
    connect(this, &SingleInstance::activationRequested, this, &bringApplicationToFront);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::lockFilePath(const QString &dataFilePath)
{
    return resolvedPath(dataFilePath) + QStringLiteral(".lock");
}

QStringList SingleInstance::serverNames(const QString &dataFilePath)
{
#ifdef Q_OS_WIN
    return {hashedName(dataFilePath)};
#else
    QStringList names;
    const QString besideFile = resolvedPath(dataFilePath) + QStringLiteral(".socket");
    if (fitsSocketPath(besideFile))
        names.append(besideFile);
    // Qt's runtime folder is the user's own: Qt refuses one owned by another user.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString inRuntime = runtime + QLatin1Char('/') + hashedName(dataFilePath) + QStringLiteral(".socket");
    if (!runtime.isEmpty() && fitsSocketPath(inRuntime))
        names.append(inRuntime);
    return names;
#endif
}

SingleInstance::Claim SingleInstance::claim(std::chrono::milliseconds patience)
{
    const QDeadlineTimer deadline(patience);
    for (;;) {
        if (tryToLock()) {
            listen();
            return First;
        }
        for (const QString &name : std::as_const(m_serverNames)) {
            if (askFirstToComeForward(name, deadline))
                return HandedOver;
        }
        if (deadline.hasExpired())
            return Unreachable;
        QThread::msleep(std::min(retryPauseMs, remainingMs(deadline, retryPauseMs)));
    }
}

std::optional<int> SingleInstance::claimOrHandOver(std::chrono::milliseconds patience)
{
    switch (claim(patience)) {
    case First:
        return std::nullopt;
    case HandedOver:
        return 0;
    case Unreachable:
        break;
    }
    MessageBoxes::showNotice(nullptr, QMessageBox::Warning,
                             QStringLiteral("Zorvel 已经在运行，但它在几秒内没有回应。请切换到已经打开的 Zorvel 窗口；"
                                            "如果找不到它，请稍等片刻再启动 Zorvel。"));
    return 1;
}

// A lock that cannot be made at all (a folder that cannot be made) must not keep
// the user from their history: the start goes on without it. The data folder is
// made here, as the store would make it, so that the lock lies beside the file
// from the first start on.
bool SingleInstance::tryToLock()
{
    QDir().mkpath(QFileInfo(m_lock.fileName()).absolutePath());
    switch (m_lock.tryLock()) {
    case FileLock::Locked:
        return true;
    case FileLock::HeldElsewhere:
        return false;
    case FileLock::Unusable:
        break;
    }
    qWarning("zorvel: cannot make the lock file %s; another start on the same data file goes unnoticed",
             qPrintable(m_lock.fileName()));
    return true;
}

void SingleInstance::listen()
{
    if (!m_lock.isLocked())
        return;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const auto listening = std::find_if(m_serverNames.cbegin(), m_serverNames.cend(), [this](const QString &name) {
        QLocalServer::removeServer(name); // left by a crash; the lock says no one listens on it
        return m_server->listen(name);
    });
    if (listening == m_serverNames.cend()) {
        qWarning("zorvel: cannot listen on %s: %s", qPrintable(m_serverNames.join(QStringLiteral(", "))),
                 qPrintable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
}

void SingleInstance::answer(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > longestRequest)
            socket->abort();
        return;
    }
    const bool raise = socket->readLine(longestRequest) == raiseRequest;
    if (raise) {
        socket->write(raiseAnswer);
        socket->flush();
    }
    socket->disconnectFromServer();
    if (raise)
        emit activationRequested();
}

bool SingleInstance::askFirstToComeForward(const QString &serverName, const QDeadlineTimer &deadline) const
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(remainingMs(deadline, 1000)) || !peerIsThisUser(socket))
        return false;
    allowToComeForward(socket);
    socket.write(raiseRequest);
    if (!socket.waitForBytesWritten(remainingMs(deadline, 1000)))
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(remainingMs(deadline, 1000)))
            return false;
    }
    return socket.readLine(longestRequest) == raiseAnswer;
}

void bringApplicationToFront()
{
    activateEvenFromBackground();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!qobject_cast<QMainWindow *>(window) || window->isHidden())
            continue;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    }
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}
