// SPDX-License-Identifier: GPL-3.0-or-later
#include "historycommands.h"

#include "singleinstance.h"

#include "report/historyexport.h"
#include "report/progressreport.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/historycopy.h"
#include "store/location.h"
#include "training/historyrestore.h"
#include "widgets/filedialogs.h"
#include "widgets/messageboxes.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
    case HistoryCommand::OpenReport:
        return writeFrom(reportFileFor(dataPath), dataPath, QStringLiteral("the progress report"), writeProgressReport);
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
        print(stderr, QStringLiteral("zorvel: ") + failure.sentence() + QStringLiteral(" Nothing was changed."));
    } catch (const DatabaseError &error) {
        print(stderr, QStringLiteral("zorvel: ") + error.text() + QStringLiteral("\nNothing was changed."));
    }
    return 1;
}

int openProgressReport(const QString &dataPath)
{
    QString failure;
    try {
        print(stdout, run(HistoryCommand::OpenReport, QString(), dataPath));
        if (FileDialogs::openInBrowser(reportFileFor(dataPath)))
            return 0;
        failure = QStringLiteral("进度报告已写入“%1”，但无法用浏览器打开它。").arg(shown(reportFileFor(dataPath)));
    } catch (const CommandFailure &error) {
        failure = error.sentence();
    } catch (const DatabaseError &error) {
        failure = error.text();
    }
    print(stderr, QStringLiteral("zorvel: ") + failure);
    MessageBoxes::showError(nullptr, failure);
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
