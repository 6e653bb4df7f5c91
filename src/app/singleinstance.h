// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDeadlineTimer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

class QLocalServer;
class QLocalSocket;

// One running Zorvel per data file: two windows on one file would each go on
// with a question the other may have cleared away.
//
// The first start holds a lock file and listens on a local socket, both named
// after a hash of the data file's path and private to the user, in the user's
// runtime folder (so that a read-only data folder and parallel test runs work
// too). A later start finds the lock, asks the first to come to the front and
// ends without opening the database. A lock left by a crashed Zorvel is taken over.
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

    // Where the lock and the socket of a data file are.
    static QString lockFilePath(const QString &dataFilePath);
    static QString serverName(const QString &dataFilePath);

signals:
    // A later start asked this one to come to the front. Connected to
    // bringApplicationToFront() from the start.
    void activationRequested();

private:
    bool tryToLock();
    void listen();
    bool askFirstToComeForward(const QDeadlineTimer &deadline) const;
    void answer(QLocalSocket *socket);

    QString m_serverName;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};

// Un-minimises the program's main window, raises and activates it, and then a
// modal window open above it.
void bringApplicationToFront();
