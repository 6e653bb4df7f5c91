// SPDX-License-Identifier: GPL-3.0-or-later
#include "historycommands.h"

#include "singleinstance.h"

#include "report/historyexport.h"
#include "report/progressreport.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/fileheader.h"
#include "store/historycopy.h"
#include "store/location.h"
#include "store/storefailure.h"
#include "training/historybackups.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <stdexcept>

namespace {

constexpr std::chrono::milliseconds guardPatience(500);

// A refusal or failure: its sentence ends the command with exit code 1.
class CommandFailure : public std::runtime_error
{
public:
    explicit CommandFailure(const QString &sentence) : std::runtime_error(sentence.toStdString()), m_sentence(sentence)
    {
    }
    QString sentence() const { return m_sentence; }

private:
    QString m_sentence;
};

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Refuses a file that is not a Zorvel history this one can read, before the
// store opens it: `sentence` takes the file and what is wrong with it.
void refuseUnusable(const QString &path, const QString &sentence)
{
    QByteArray header;
    QString reason;
    if (!readDatabaseHeader(path, header, reason))
        throw CommandFailure(sentence.arg(
            shown(path), QCoreApplication::translate("HistoryCommands", "cannot be read (%1)").arg(reason)));
    switch (judgeDatabaseHeader(header, QFileInfo(path).size(), hasLogBeside(path))) {
    case FileHeaderVerdict::NotSQLite:
    case FileHeaderVerdict::OtherOwner:
        throw CommandFailure(
            sentence.arg(shown(path), QCoreApplication::translate("HistoryCommands", "is not a Zorvel history")));
    case FileHeaderVerdict::NewerVersion:
        throw CommandFailure(sentence.arg(
            shown(path), QCoreApplication::translate("HistoryCommands", "was made by a newer Zorvel than this one")));
    case FileHeaderVerdict::CutShort:
    case FileHeaderVerdict::Ours:
        break;
    }
}

// What went wrong in the store, in a few words: the kind of fault where it is
// known, otherwise the engine's (or the system's) own text.
QString causeOf(const DatabaseError &error)
{
    switch (error.resultCode()) {
    case ResultCode::full:
        return QCoreApplication::translate("HistoryCommands", "the disk is full");
    case ResultCode::readOnly:
        return QCoreApplication::translate("HistoryCommands", "the file or its folder is read-only");
    case ResultCode::corrupt:
    case ResultCode::notADatabase:
        return QCoreApplication::translate("HistoryCommands", "the history is damaged");
    case ResultCode::ioError:
        // The system's reason says more, where there is one.
        if (!error.engineText().isEmpty())
            return error.engineText();
        return QCoreApplication::translate("HistoryCommands", "a read or write error");
    case ResultCode::busy:
    case ResultCode::locked:
        return QCoreApplication::translate("HistoryCommands", "another program holds the file");
    case ResultCode::cantOpen:
        return QCoreApplication::translate("HistoryCommands", "the file cannot be opened");
    default:
        break;
    }
    return error.engineText().isEmpty() ? error.summary() : error.engineText();
}

// A failure of the store during a command, as one sentence in the command's words.
QString failureSentence(HistoryCommand command, const QString &file, const DatabaseError &error)
{
    QString sentence;
    switch (command) {
    case HistoryCommand::Backup:
        sentence = QCoreApplication::translate("HistoryCommands",
                                               "Could not write a copy of the history to %1 (%2); nothing was "
                                               "changed.");
        break;
    case HistoryCommand::Restore:
        sentence = QCoreApplication::translate("HistoryCommands",
                                               "Could not restore %1 (%2); the history was left as it was.");
        break;
    case HistoryCommand::Export:
        sentence = QCoreApplication::translate("HistoryCommands",
                                               "Could not export the answers to %1 (%2); nothing was written.");
        break;
    case HistoryCommand::Report:
    case HistoryCommand::None:
        sentence = QCoreApplication::translate("HistoryCommands",
                                               "Could not write the progress report to %1 (%2); nothing was written.");
        break;
    }
    return sentence.arg(shown(file), causeOf(error));
}

bool isSameFile(const QString &first, const QString &second)
{
    const QFileInfo a(first);
    const QFileInfo b(second);
    if (a.exists() && b.exists())
        return a.canonicalFilePath() == b.canonicalFilePath();
    return QDir::cleanPath(a.absoluteFilePath()) == QDir::cleanPath(b.absoluteFilePath());
}

// The history at `dataPath`, opened as a running Zorvel opens it (so that what
// its log holds is read), but never created.
void openHistory(Database &db, const QString &dataPath)
{
    if (dataPath.isEmpty())
        throw CommandFailure(QCoreApplication::translate("HistoryCommands",
                                                         "There is no data folder for this user, so there is no "
                                                         "history; nothing was changed."));
    if (!QFileInfo::exists(dataPath))
        throw CommandFailure(QCoreApplication::translate("HistoryCommands",
                                                         "There is no history at %1 (Zorvel makes one when it "
                                                         "first starts there); nothing was changed.")
                                 .arg(shown(dataPath)));
    refuseUnusable(dataPath, QCoreApplication::translate("HistoryCommands", "%1 %2; nothing was changed."));
    db.open(BuildConnectionString(dataPath));
}

void refuseOwnFile(const QString &file, const QString &dataPath)
{
    if (isSameFile(file, dataPath))
        throw CommandFailure(QCoreApplication::translate("HistoryCommands",
                                                         "%1 is the history itself, so nothing was written; "
                                                         "name another file.")
                                 .arg(shown(file)));
}

QString backUp(const QString &file, const QString &dataPath)
{
    refuseOwnFile(file, dataPath);
    Database db;
    openHistory(db, dataPath);
    writeHistoryCopy(db, file);
    return QCoreApplication::translate("HistoryCommands", "Wrote a copy of the history %1 to %2.")
        .arg(shown(dataPath), shown(file));
}

// `done` is the sentence of success, with the history and the file to fill in.
template<typename Writer>
QString writeFrom(const QString &file, const QString &dataPath, const QString &done, Writer &&write)
{
    refuseOwnFile(file, dataPath);
    Database db;
    openHistory(db, dataPath);
    QString error;
    if (!write(db, file, error))
        throw CommandFailure(
            QCoreApplication::translate("HistoryCommands", "Could not write %1 (%2); nothing was written.")
                .arg(shown(file), error));
    return done.arg(shown(dataPath), shown(file));
}

// The file to restore from, opened read-only and untouched, once it has shown
// itself a whole history of this or an older version of Zorvel.
void openRestoreSource(Database &source, const QString &file)
{
    const QString refused = QCoreApplication::translate("HistoryCommands", "%1 %2, so nothing was restored.");
    if (!QFileInfo(file).isFile())
        throw CommandFailure(
            refused.arg(shown(file), QCoreApplication::translate("HistoryCommands", "is not a file that exists")));
    refuseUnusable(file, refused);
    if (hasLogBeside(file)) {
        throw CommandFailure(
            refused.arg(shown(file),
                        QCoreApplication::translate("HistoryCommands",
                                                    "has answers in the log beside it that are not in the file "
                                                    "itself (back it up with --data and --backup, and restore "
                                                    "that copy)")));
    }
    source.open(BuildConnectionString(file), Database::Untouched);
    if (source.access() == Database::Damaged)
        throw CommandFailure(refused.arg(
            shown(file),
            QCoreApplication::translate("HistoryCommands", "is damaged: it is shorter than its header says")));
    try {
        checkWholeHistory(source);
    } catch (const DatabaseError &error) {
        throw CommandFailure(refused.arg(
            shown(file),
            error.resultCode() == ResultCode::corrupt
                ? QCoreApplication::translate("HistoryCommands", "is damaged: it fails SQLite's integrity check")
                : QCoreApplication::translate("HistoryCommands",
                                              "is not a whole history: one of its tables is missing")));
    }
}

// Keeps the current history in the backups folder; a damaged one byte for byte,
// with its log, which then no longer lies beside the file to be replaced.
QString keepCurrent(const QString &dataPath)
{
    Database current;
    current.open(BuildConnectionString(dataPath));
    if (current.access() != Database::Damaged)
        return writeBackup(current, QDateTime::currentDateTime());
    current.close();
    const QString folder = backupsFolderOf(dataPath);
    const QString kept = QDir(folder).filePath(backupFileName(QDateTime::currentDateTime(), backupFilesIn(folder)));
    writeByteCopy(dataPath, kept);
    QFile::remove(dataPath + QStringLiteral("-wal"));
    QFile::remove(dataPath + QStringLiteral("-shm"));
    return kept;
}

QString restore(const QString &file, const QString &dataPath)
{
    if (dataPath.isEmpty())
        throw CommandFailure(QCoreApplication::translate(
            "HistoryCommands", "There is no data folder for this user to restore into; nothing was changed."));
    refuseOwnFile(file, dataPath);
    Database source;
    openRestoreSource(source, file);

    SingleInstance guard(dataPath);
    if (guard.claim(guardPatience) != SingleInstance::First)
        throw CommandFailure(QCoreApplication::translate("HistoryCommands",
                                                         "Zorvel is running on %1, so nothing was restored; "
                                                         "close it, then restore again.")
                                 .arg(shown(dataPath)));

    QString kept;
    if (QFileInfo::exists(dataPath)) {
        kept = keepCurrent(dataPath);
        if (const QStringList logs = logFilesBeside(dataPath); !logs.isEmpty())
            throw CommandFailure(QCoreApplication::translate("HistoryCommands",
                                                             "The log %1 is still beside the history, so the "
                                                             "history was not replaced; a copy of it is kept as %2.")
                                     .arg(shown(logs.constFirst()), shown(kept)));
    } else {
        makeDataFolder(dataPath);
    }
    writeHistoryCopy(source, dataPath);
    if (kept.isEmpty())
        return QCoreApplication::translate("HistoryCommands", "Restored %1 as the history %2.")
            .arg(shown(file), shown(dataPath));
    return QCoreApplication::translate("HistoryCommands",
                                       "Restored %1 as the history %2; the history it replaced is kept as %3.")
        .arg(shown(file), shown(dataPath), shown(kept));
}

QString run(HistoryCommand command, const QString &file, const QString &dataPath)
{
    switch (command) {
    case HistoryCommand::Backup:
        return backUp(file, dataPath);
    case HistoryCommand::Restore:
        return restore(file, dataPath);
    case HistoryCommand::Export:
        return writeFrom(file, dataPath,
                         QCoreApplication::translate("HistoryCommands", "Wrote the answers of the history %1 to %2."),
                         writeAnswersCsv);
    case HistoryCommand::Report:
        return writeFrom(
            file, dataPath,
            QCoreApplication::translate("HistoryCommands", "Wrote the progress report of the history %1 to %2."),
            writeProgressReport);
    case HistoryCommand::None:
        break;
    }
    return QString();
}

void print(FILE *stream, const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
}

} // namespace

int runHistoryCommand(HistoryCommand command, const QString &file, const QString &dataPath)
{
    try {
        print(stdout, run(command, file, dataPath));
        return 0;
    } catch (const CommandFailure &failure) {
        print(stderr, QCoreApplication::translate("HistoryCommands", "zorvel: %1").arg(failure.sentence()));
    } catch (const DatabaseError &error) {
        print(stderr,
              QCoreApplication::translate("HistoryCommands", "zorvel: %1").arg(failureSentence(command, file, error)));
    }
    return 1;
}
