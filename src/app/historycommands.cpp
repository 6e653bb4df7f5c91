// SPDX-License-Identifier: GPL-3.0-or-later
#include "historycommands.h"

#include "singleinstance.h"

#include "report/classreport.h"
#include "report/historyexport.h"
#include "report/progressreport.h"
#include "report/pupil.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/fileheader.h"
#include "store/historycopy.h"
#include "store/location.h"
#include "store/pupilname.h"
#include "store/storefailure.h"
#include "training/historyrestore.h"
#include "widgets/filedialogs.h"
#include "widgets/messageboxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
    case HistoryCommand::Pupil:
        // `file` is the name to store.
        return QCoreApplication::translate("HistoryCommands",
                                           "Could not store the pupil's name %1 (%2); nothing was changed.")
            .arg(file, causeOf(error));
    case HistoryCommand::Report:
    case HistoryCommand::OpenReport:
    case HistoryCommand::None:
        sentence = QCoreApplication::translate("HistoryCommands",
                                               "Could not write the progress report to %1 (%2); nothing was written.");
        break;
    }
    return sentence.arg(shown(file), causeOf(error));
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

// The file to restore from, opened read-only and untouched by the rules every
// restore shares, once it has shown itself a whole history of this or an older
// version of Zorvel; refused in the command's words otherwise.
void openSourceToRestore(Database &source, const QString &file)
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
    try {
        openRestoreSource(source, file);
    } catch (const DatabaseError &error) {
        QString reason;
        if (source.access() == Database::Damaged)
            reason = QCoreApplication::translate("HistoryCommands", "is damaged: it is shorter than its header says");
        else if (error.resultCode() == ResultCode::corrupt)
            reason = QCoreApplication::translate("HistoryCommands", "is damaged: it fails SQLite's integrity check");
        else
            reason = QCoreApplication::translate("HistoryCommands",
                                                 "is not a whole history: one of its tables is missing");
        throw CommandFailure(refused.arg(shown(file), reason));
    }
}

QString restore(const QString &file, const QString &dataPath)
{
    if (dataPath.isEmpty())
        throw CommandFailure(QCoreApplication::translate(
            "HistoryCommands", "There is no data folder for this user to restore into; nothing was changed."));
    refuseOwnFile(file, dataPath);
    Database source;
    openSourceToRestore(source, file);

    SingleInstance guard(dataPath);
    if (guard.claim(guardPatience) != SingleInstance::First)
        throw CommandFailure(QCoreApplication::translate("HistoryCommands",
                                                         "Zorvel is running on %1, so nothing was restored; "
                                                         "close it, then restore again.")
                                 .arg(shown(dataPath)));

    const QString kept = replaceHistory(source, dataPath);
    if (kept.isEmpty())
        return QCoreApplication::translate("HistoryCommands", "Restored %1 as the history %2.")
            .arg(shown(file), shown(dataPath));
    return QCoreApplication::translate("HistoryCommands",
                                       "Restored %1 as the history %2; the history it replaced is kept as %3.")
        .arg(shown(file), shown(dataPath), shown(kept));
}

QString namePupil(const QString &typed, const QString &dataPath)
{
    const QString name = pupilNameToStore(typed);
    if (name.size() > longestPupilName)
        throw CommandFailure(QCoreApplication::translate("HistoryCommands",
                                                         "The name is %1 characters long; a pupil's name may have "
                                                         "at most %2, so nothing was changed.")
                                 .arg(name.size())
                                 .arg(longestPupilName));
    Database db;
    openHistory(db, dataPath);
    storePupilName(db, name);
    if (name.isEmpty())
        return QCoreApplication::translate("HistoryCommands",
                                           "The history %1 no longer stores a pupil's name; it is shown as %2.")
            .arg(shown(dataPath), pupilNameOf(db));
    return QCoreApplication::translate("HistoryCommands", "The history %1 now stores the pupil's name %2.")
        .arg(shown(dataPath), name);
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
    case HistoryCommand::Pupil:
        return namePupil(file, dataPath);
    case HistoryCommand::OpenReport:
        return writeFrom(
            file, dataPath,
            QCoreApplication::translate("HistoryCommands", "Wrote the progress report of the history %1 to %2."),
            writeProgressReport);
    case HistoryCommand::None:
        break;
    }
    return QString();
}

QString writeClassPage(const QString &file, const QStringList &dataPaths)
{
    for (const QString &dataPath : dataPaths)
        refuseOwnFile(file, dataPath);
    QString error;
    QStringList unreadable;
    if (!writeClassReport(dataPaths, file, error, unreadable))
        throw CommandFailure(
            QCoreApplication::translate("HistoryCommands", "Could not write %1 (%2); nothing was written.")
                .arg(shown(file), error));
    if (unreadable.isEmpty())
        return QCoreApplication::translate("HistoryCommands", "Wrote the class overview of %1 histories to %2.")
            .arg(dataPaths.size())
            .arg(shown(file));
    return QCoreApplication::translate("HistoryCommands",
                                       "Wrote the class overview of %1 histories to %2; %3 of them could not be "
                                       "read: %4.")
        .arg(dataPaths.size())
        .arg(shown(file))
        .arg(unreadable.size())
        .arg(unreadable.join(QStringLiteral("; ")));
}

// What a command that returns its sentence, or throws one, prints and returns.
template<typename Command>
CommandLineOutcome outcomeOf(HistoryCommand kind, const QString &file, Command &&command)
{
    const QString line = QStringLiteral("%1\n");
    try {
        return endsWith(0, line.arg(command()), QString());
    } catch (const CommandFailure &failure) {
        return endsWith(1, QString(),
                        line.arg(QCoreApplication::translate("HistoryCommands", "zorvel: %1").arg(failure.sentence())));
    } catch (const DatabaseError &error) {
        return endsWith(
            1, QString(),
            line.arg(
                QCoreApplication::translate("HistoryCommands", "zorvel: %1").arg(failureSentence(kind, file, error))));
    }
}

} // namespace

CommandLineOutcome historyCommandOutcome(HistoryCommand command, const QString &file, const QString &dataPath)
{
    return outcomeOf(command, file, [&] { return run(command, file, dataPath); });
}

int runHistoryCommand(HistoryCommand command, const QString &file, const QString &dataPath)
{
    return printOutcome(historyCommandOutcome(command, file, dataPath));
}

int runClassReport(const QString &file, const QStringList &dataPaths)
{
    if (dataPaths.size() == 1)
        return runHistoryCommand(HistoryCommand::Report, file, dataPaths.first());
    return printOutcome(outcomeOf(HistoryCommand::Report, file, [&] { return writeClassPage(file, dataPaths); }));
}

int openProgressReport(const QString &dataPath)
{
    const QString file = reportFileFor(dataPath);
    CommandLineOutcome outcome = historyCommandOutcome(HistoryCommand::OpenReport, file, dataPath);
    const QString prefix = QCoreApplication::translate("HistoryCommands", "zorvel: %1").arg(QString());
    if (outcome.exitCode == 0) {
        if (FileDialogs::openInBrowser(file))
            return printOutcome(outcome);
        outcome = endsWith(1, outcome.output,
                           prefix
                               + QCoreApplication::translate("HistoryCommands",
                                                             "The progress report was written to %1, but no web "
                                                             "browser could open it.")
                                     .arg(shown(file))
                               + QLatin1Char('\n'));
    }
    printOutcome(outcome);
    QString sentence = outcome.error.trimmed();
    if (sentence.startsWith(prefix))
        sentence.remove(0, prefix.size());
    MessageBoxes::showError(nullptr, sentence);
    return 1;
}

QString documentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = QDir::homePath();
    return folder;
}

QString reportFileFor(const QString &dataPath)
{
    return QDir(documentsFolder()).filePath(backupBaseName(dataPath) + QStringLiteral("-进度报告.html"));
}

bool isSameFile(const QString &first, const QString &second)
{
    const QFileInfo a(first);
    const QFileInfo b(second);
    if (a.exists() && b.exists())
        return a.canonicalFilePath() == b.canonicalFilePath();
    return QDir::cleanPath(a.absoluteFilePath()) == QDir::cleanPath(b.absoluteFilePath());
}
