// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class IntegrityCheck;
class QTemporaryDir;
class Statements;

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

// The program's one connection to its database file: opening and closing it,
// and what state the file is in.
//
// Only the store runs statements, through statements(), whose class is private to
// the store; the layers above hand a Database on to the store's functions.
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
        Untouched,    // an existing file of this program, read but never written:
                      // immutable, and refused when a log lies beside it
    };

    enum Access {
        Writable,
        ReadOnly, // the file or its folder cannot be written
        Damaged,  // the file is damaged and is never written to again
    };

    // Opens the file. An existing file's header is read first with plain file
    // reads: a file this program did not make, or made by a newer version, is
    // refused without SQLite ever opening it, and stays byte for byte as it was.
    // A damaged or read-only file is opened read-only, so that nothing at all is
    // written to it or beside it; what the user must be told about that is
    // returned. A read-only file with a write-ahead log is read from a private
    // copy of both in a temporary folder, so that what the log holds is shown
    // too. A file of ours without all of its tables counts as damaged.
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
    // Waits for a running integrity check first.
    void requireWritable();

    // Reads the whole writable file in the background (IntegrityCheck); does
    // nothing on a read-only or damaged one. `finished` is called in the
    // checking thread when the check ends. Every write waits for it.
    void startIntegrityCheck(std::function<void()> finished = {});
    // Waits for a started check to end. Returns true when it found the file
    // damaged: the connection has then turned read-only for good.
    bool settleIntegrityCheck();

    // What runs the store's statements. A statement that finds the file damaged
    // reopens it read-only and immutable, which changes access().
    Statements &statements() { return *m_statements; }

private:
    friend class Statements;

    void openConnectionWith(const QString &databaseName, const QString &connectOptions);
    void openWritable(bool existingFile);
    void openImmutable(Access access);
    QList<StartupNotice> openReadOnly();
    bool openPrivateCopy();
    QStringList missingTables() const;
    void closeConnection();
    void configureConnection(bool existingFile);
    void becomeDamaged();

    QString m_connectionName;
    ConnectionSettings m_settings;
    Access m_access = Writable;
    std::unique_ptr<Statements> m_statements;
    // Ended (and dropped) by the first write that waits for it.
    std::unique_ptr<IntegrityCheck> m_check;
    // The copy a read-only file with a log is read from.
    std::unique_ptr<QTemporaryDir> m_privateCopy;
};
