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

QString nameFor(const QString &dataFilePath)
{
    const QByteArray hash = QCryptographicHash::hash(resolvedPath(dataFilePath).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("zorvel-") + QString::fromLatin1(hash.toHex().left(16));
}

QString runtimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

int remainingMs(const QDeadlineTimer &deadline, int atMost)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 1, atMost));
}

} // namespace

SingleInstance::SingleInstance(const QString &dataFilePath, QObject *parent)
    : QObject(parent), m_serverName(serverName(dataFilePath)), m_lock(lockFilePath(dataFilePath))
{
    // Only a dead owner makes the lock stale: a Zorvel may run for days.
    m_lock.setStaleLockTime(0);
    connect(this, &SingleInstance::activationRequested, this, &bringApplicationToFront);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::lockFilePath(const QString &dataFilePath)
{
    return runtimeFolder() + QLatin1Char('/') + nameFor(dataFilePath) + QStringLiteral(".lock");
}

QString SingleInstance::serverName(const QString &dataFilePath)
{
#ifdef Q_OS_WIN
    return nameFor(dataFilePath);
#else
    const QString inRuntimeFolder = runtimeFolder() + QLatin1Char('/') + nameFor(dataFilePath) + QStringLiteral(".socket");
    if (QFile::encodeName(inRuntimeFolder).size() <= longestSocketPath)
        return inRuntimeFolder;
    return nameFor(dataFilePath) + QStringLiteral("-%1.socket").arg(QFileInfo(QDir::homePath()).ownerId());
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
        if (askFirstToComeForward(deadline))
            return HandedOver;
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

// A lock that cannot be made at all (no runtime folder, no permission) must not
// keep the user from their history: the start goes on without it.
bool SingleInstance::tryToLock()
{
    if (m_lock.tryLock(0))
        return true;
    if (m_lock.error() == QLockFile::LockFailedError)
        return false;
    qWarning("zorvel: cannot make the lock file %s; another start on the same data file goes unnoticed",
             qPrintable(m_lock.fileName()));
    return true;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_serverName); // left by a crash; the lock says no one listens on it
    if (!m_server->listen(m_serverName)) {
        qWarning("zorvel: cannot listen on %s: %s", qPrintable(m_serverName), qPrintable(m_server->errorString()));
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

bool SingleInstance::askFirstToComeForward(const QDeadlineTimer &deadline) const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(remainingMs(deadline, 1000)))
        return false;
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
