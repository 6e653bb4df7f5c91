#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class QSqlDatabase;
class QSqlQuery;

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

    // Opens the file. An existing file is first checked to be a database this
    // program made; one that is not is refused and left byte for byte as it was.
    void open(const ConnectionSettings &settings, OpenMode mode = ExistingFile);
    void close();
    bool isOpen() const;
    QString filePath() const;

    // Runs one statement with its values bound in order and returns the result,
    // positioned before its first row.
    QSqlQuery execute(const QString &sql, const QVariantList &values = {}) const;
    // The first column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;
    // Runs an insert and returns the generated id of the new row.
    int insert(const QString &sql, const QVariantList &values) const;

    QSqlDatabase connection() const;
    // The open connection; throws a DatabaseError that says so when it is not open.
    QSqlDatabase openConnection() const;

private:
    void checkFileBelongsToUs() const;
    void configureConnection() const;

    QString m_connectionName;
};
