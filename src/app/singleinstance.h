// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filelock.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

class QLocalServer;
class QLocalSocket;

// One running Zorvel per data file: two windows on one file would each go on
// with a question the other may have cleared away.
//
// The guard belongs to the data file: the first start holds a lock on
// "Zorvel.mdb.lock" beside it, so every start on that file meets the same lock,
// whatever its environment. The operating system lets go of the lock when the
// process ends, a crash included. The first start also listens on a local
// socket, "Zorvel.mdb.socket" beside the file (or, where that path is too long
// for a socket, in the user's runtime folder), private to the user.
//
// A later start finds the lock held, asks the first over the socket to come to
// the front, and ends without opening the database. Only a start whose lock is
// held ever listens to a socket, and only to one of its own user: nothing at
// the socket's path can keep a start whose lock is free from going on.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum Claim {
        First,       // this start holds the lock and listens
        HandedOver,  // the first start was asked to come to the front
        Unreachable, // another start holds the lock but did not answer in time
    };

    explicit SingleInstance(const QString &dataFilePath, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock, or reaches the start that holds it. That one may not be
    // listening yet, so both are tried again until `patience` runs out.
    Claim claim(std::chrono::milliseconds patience = std::chrono::seconds(5));

    // For main(): nothing when this is the first start; otherwise the exit code of
    // a later start, after telling the user when the first could not be reached.
    std::optional<int> claimOrHandOver(std::chrono::milliseconds patience = std::chrono::seconds(5));

    // Where the lock of a data file is, and where its first start may listen,
    // in the order in which it tries them.
    static QString lockFilePath(const QString &dataFilePath);
    static QStringList serverNames(const QString &dataFilePath);

signals:
    // A later start asked this one to come to the front. Connected to
    // bringApplicationToFront() from the start.
    void activationRequested();

private:
    bool tryToLock();
    void listen();
    bool askFirstToComeForward(const QString &serverName, const QDeadlineTimer &deadline) const;
    void answer(QLocalSocket *socket);

    QStringList m_serverNames;
    FileLock m_lock;
    QLocalServer *m_server = nullptr;
};

// Un-minimises the program's main window, raises and activates it, and then a
// modal window open above it.
void bringApplicationToFront();
