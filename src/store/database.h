// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;
class SessionCache;

// Something the user must be told when the program starts, in a message box:
// the file is opened read-only, the file is damaged, old log files were set
// aside. The start-up goes on after it.
struct StartupNotice
{
    enum Kind {
        Information,
        Warning,
    };

    Kind kind = Information;
    QString text;
};

// What the Qt SQL connection needs to reach one database file.
struct ConnectionSettings
{
    QString databaseName;   // the file's path
    QString connectOptions; // driver options, e.g. the busy timeout
};

// The program's one connection to its database file, and the access layer that
// every statement of the store runs through. Every statement takes its values as
// bound parameters; every failure leaves as a DatabaseError.
//
// Only the store runs statements; the layers above hand a Database on to the
// store's functions. Callers of execute() and connection() include the Qt SQL
// headers themselves.
class Database
{
public:
    // Each object has a connection of its own, under a name unique in the process.
    Database();
    explicit Database(const QString &connectionName);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    enum OpenMode {
        ExistingFile, // must be a database this program made
        NewFile,      // an empty file that is about to be filled
    };

    enum Access {
        Writable,
        ReadOnly, // the file or its folder cannot be written
        Damaged,  // the file is damaged and is never written to again
    };

    // Opens the file. An existing file's header is read first with plain file
    // reads: a file this program did not make, or made by a newer version, is
    // refused without SQLite ever opening it, and stays byte for byte as it was.
    // A damaged or read-only file is opened read-only and immutable, so that
    // nothing at all is written to it or beside it; what the user must be told
    // about that is returned.
    //
    // A writable file keeps a write-ahead log; a new file is built with a
    // rollback journal, so that once committed it is complete in itself.
    QList<StartupNotice> open(const ConnectionSettings &settings, OpenMode mode = ExistingFile);
    void close();
    bool isOpen() const;
    QString filePath() const;
    Access access() const { return m_access; }
    // Open, and neither read-only nor damaged.
    bool isWritable() const { return isOpen() && m_access == Writable; }
    // Throws the DatabaseError that tells why nothing can be written, if so.
    void requireWritable() const;

    // Runs one statement with its values bound in order and returns the result,
    // positioned before its first row. A result that shows the file damaged turns
    // the connection read-only and immutable for the rest of the session. A
    // statement that may write drops what the cache holds, as of its commit.
    QSqlQuery execute(const QString &sql, const QVariantList &values = {}) const;

    // The statements of the training loop run through statements prepared once
    // per connection and kept; each is done with when these return. Their
    // writes leave the cache alone: the store function that writes tells the
    // cache what it changed.
    // The first column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;
    // The columns of the first row, or an empty list when there is no row.
    QVariantList firstRow(const QString &sql, const QVariantList &values = {}) const;
    // Runs an insert and returns the generated id of the new row.
    int insert(const QString &sql, const QVariantList &values) const;
    // Runs a statement whose result is not read.
    void run(const QString &sql, const QVariantList &values = {}) const;

    // What the store keeps in memory about the file during the session. Emptied
    // whenever the connection closes.
    SessionCache &cache() const { return *m_cache; }

    QSqlDatabase connection() const;
    // The open connection; throws a DatabaseError that says so when it is not open.
    QSqlDatabase openConnection() const;

private:
    void openConnectionWith(const QString &databaseName, const QString &connectOptions) const;
    void openWritable(bool existingFile);
    void openImmutable(Access access) const;
    void configureConnection(bool existingFile) const;
    void closeConnection() const;
    void becomeDamaged() const;
    [[noreturn]] void fail(QSqlQuery &query) const;
    QSqlQuery &runPrepared(const QString &sql, const QVariantList &values) const;

    struct PreparedStatements;

    QString m_connectionName;
    ConnectionSettings m_settings;
    // Changed by a statement that finds the file damaged, which reopens it.
    mutable Access m_access = Writable;
    std::unique_ptr<PreparedStatements> m_prepared;
    std::unique_ptr<SessionCache> m_cache;
};
