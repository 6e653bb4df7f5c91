// SPDX-License-Identifier: GPL-3.0-or-later
#include "historycommands.h"

#include "singleinstance.h"

#include "report/classreport.h"
#include "report/historyexport.h"
#include "report/progressreport.h"
#include "report/pupil.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/historycopy.h"
#include "store/location.h"
#include "store/pupilname.h"
#include "training/historybackups.h"
#include "training/historyrestore.h"

#include <QDir>
#include <QFileInfo>

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
        throw CommandFailure(QStringLiteral("There is no data folder for this user, so there is no history."));
    if (!QFileInfo::exists(dataPath))
        throw CommandFailure(QStringLiteral("There is no history at %1; Zorvel makes one when it first starts there.")
                                 .arg(shown(dataPath)));
    db.open(BuildConnectionString(dataPath));
}

void refuseOwnFile(const QString &file, const QString &dataPath)
{
    if (isSameFile(file, dataPath))
        throw CommandFailure(QStringLiteral("%1 is the history itself; name another file.").arg(shown(file)));
}

QString backUp(const QString &file, const QString &dataPath)
{
    refuseOwnFile(file, dataPath);
    Database db;
    openHistory(db, dataPath);
    writeHistoryCopy(db, file);
    return QStringLiteral("Wrote a copy of the history %1 to %2.").arg(shown(dataPath), shown(file));
}

template<typename Writer>
QString writeFrom(const QString &file, const QString &dataPath, const QString &what, Writer &&write)
{
    refuseOwnFile(file, dataPath);
    Database db;
    openHistory(db, dataPath);
    QString error;
    if (!write(db, file, error))
        throw CommandFailure(QStringLiteral("Could not write %1 (%2); nothing was written.").arg(shown(file), error));
    return QStringLiteral("Wrote %1 of %2 to %3.").arg(what, shown(dataPath), shown(file));
}

QString restore(const QString &file, const QString &dataPath)
{
    if (dataPath.isEmpty())
        throw CommandFailure(QStringLiteral("There is no data folder for this user to restore into."));
    refuseOwnFile(file, dataPath);
    if (!QFileInfo(file).isFile())
        throw CommandFailure(QStringLiteral("There is no file at %1.").arg(shown(file)));
    Database source;
    openRestoreSource(source, file);

    SingleInstance guard(dataPath);
    if (guard.claim(guardPatience) != SingleInstance::First)
        throw CommandFailure(
            QStringLiteral("Zorvel is running on %1; close it, then restore again.").arg(shown(dataPath)));

    const QString kept = replaceHistory(source, dataPath);
    if (kept.isEmpty())
        return QStringLiteral("Restored %1 as the history %2.").arg(shown(file), shown(dataPath));
    return QStringLiteral("Restored %1 as the history %2; the history it replaced is kept as %3.")
        .arg(shown(file), shown(dataPath), shown(kept));
}

QString namePupil(const QString &typed, const QString &dataPath)
{
    const QString name = pupilNameToStore(typed);
    if (name.size() > longestPupilName)
        throw CommandFailure(QStringLiteral("The name is %1 characters long; a pupil's name may have at most %2.")
                                 .arg(name.size())
                                 .arg(longestPupilName));
    Database db;
    openHistory(db, dataPath);
    storePupilName(db, name);
    if (name.isEmpty())
        return QStringLiteral("The history %1 no longer stores a pupil's name; it is shown as %2.")
            .arg(shown(dataPath), pupilNameOf(db));
    return QStringLiteral("The history %1 now stores the pupil's name %2.").arg(shown(dataPath), name);
}

QString run(HistoryCommand command, const QString &file, const QString &dataPath)
{
    switch (command) {
    case HistoryCommand::Backup:
        return backUp(file, dataPath);
    case HistoryCommand::Restore:
        return restore(file, dataPath);
    case HistoryCommand::Export:
        return writeFrom(file, dataPath, QStringLiteral("the answers"), writeAnswersCsv);
    case HistoryCommand::Report:
        return writeFrom(file, dataPath, QStringLiteral("the progress report"), writeProgressReport);
    case HistoryCommand::Pupil:
        return namePupil(file, dataPath);
    case HistoryCommand::None:
        break;
    }
    return QString();
}

CommandLineOutcome ended(int exitCode, const QString &output, const QString &error)
{
    CommandLineOutcome outcome;
    outcome.runs = false;
    outcome.exitCode = exitCode;
    outcome.output = output;
    outcome.error = error;
    return outcome;
}

QString writeClassPage(const QString &file, const QStringList &dataPaths)
{
    for (const QString &dataPath : dataPaths)
        refuseOwnFile(file, dataPath);
    QString error;
    QStringList unreadable;
    if (!writeClassReport(dataPaths, file, error, unreadable))
        throw CommandFailure(QStringLiteral("Could not write %1 (%2); nothing was written.").arg(shown(file), error));
    if (unreadable.isEmpty())
        return QStringLiteral("Wrote the class overview of %1 histories to %2.").arg(dataPaths.size()).arg(shown(file));
    return QStringLiteral("Wrote the class overview of %1 histories to %2; %3 of them could not be read: %4.")
        .arg(dataPaths.size())
        .arg(shown(file))
        .arg(unreadable.size())
        .arg(unreadable.join(QStringLiteral("; ")));
}

// What a command that returns its sentence, or throws one, prints and returns.
template<typename Command>
CommandLineOutcome outcomeOf(Command &&command)
{
    try {
        return ended(0, command() + QLatin1Char('\n'), QString());
    } catch (const CommandFailure &failure) {
        return ended(1, QString(),
                     QStringLiteral("zorvel: ") + failure.sentence() + QStringLiteral(" Nothing was changed.\n"));
    } catch (const DatabaseError &error) {
        return ended(1, QString(),
                     QStringLiteral("zorvel: ") + error.text() + QStringLiteral("\nNothing was changed.\n"));
    }
}

} // namespace

CommandLineOutcome historyCommandOutcome(HistoryCommand command, const QString &file, const QString &dataPath)
{
    return outcomeOf([&] { return run(command, file, dataPath); });
}

int runHistoryCommand(HistoryCommand command, const QString &file, const QString &dataPath)
{
    return printOutcome(historyCommandOutcome(command, file, dataPath));
}

int runClassReport(const QString &file, const QStringList &dataPaths)
{
    if (dataPaths.size() == 1)
        return runHistoryCommand(HistoryCommand::Report, file, dataPaths.first());
    return printOutcome(outcomeOf([&] { return writeClassPage(file, dataPaths); }));
}
