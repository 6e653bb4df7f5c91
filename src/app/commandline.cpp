// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "application.h"
#include "historycommands.h"
#include "parentconsole.h"

#include "store/location.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString programName = QStringLiteral("zorvel");

// The options QApplication takes off the command line on X11, with one dash or
// two. Those of the first list take the next argument as their value.
const QStringList qtOptionsWithValue{
    QStringLiteral("platform"),
    QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowtitle"),
    QStringLiteral("qwindowicon"),
    QStringLiteral("geometry"),
    QStringLiteral("title"),
    QStringLiteral("icon"),
    QStringLiteral("session"),
    QStringLiteral("style"),
    QStringLiteral("stylesheet"),
    QStringLiteral("display"),
    QStringLiteral("name"),
    QStringLiteral("visual"),
};
const QStringList qtFlags{
    QStringLiteral("reverse"), QStringLiteral("testability"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
    QStringLiteral("dograb"),  QStringLiteral("qdevel"),      QStringLiteral("qdebug"),
};
const QStringList qtOptionsWithInlineValue{
    QStringLiteral("style="),
    QStringLiteral("stylesheet="),
    QStringLiteral("qmljsdebugger="),
};

// "-style" and "--style" both name "style"; anything else names nothing.
QString optionName(const QString &argument)
{
    if (argument.startsWith(QStringLiteral("--")))
        return argument.mid(2);
    if (argument.startsWith(QLatin1Char('-')))
        return argument.mid(1);
    return QString();
}

bool hasInlineQtValue(const QString &name)
{
    return std::any_of(qtOptionsWithInlineValue.cbegin(), qtOptionsWithInlineValue.cend(),
                       [&name](const QString &prefix) { return name.startsWith(prefix); });
}

QString absolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

struct CommandOption
{
    HistoryCommand command;
    QCommandLineOption option;
};

QList<CommandOption> commandOptions()
{
    const auto option = [](const char *name, const QString &value, const QString &description) {
        return QCommandLineOption(QString::fromLatin1(name), description, value);
    };
    const QString file = QStringLiteral("FILE");
    return {
        {HistoryCommand::Backup,
         option("backup", file,
                QCoreApplication::translate("CommandLine",
                                            "Writes a consistent copy of the history to FILE, "
                                            "also while Zorvel runs, and ends."))},
        {HistoryCommand::Restore,
         option("restore", file,
                QCoreApplication::translate("CommandLine",
                                            "Puts the history in FILE (a copy that --backup or a clear made) in "
                                            "place of the current one, which is kept in the backups folder, and "
                                            "ends; Zorvel must not be running on that data."))},
        {HistoryCommand::Export,
         option("export", QStringLiteral("FILE.csv"),
                QCoreApplication::translate("CommandLine",
                                            "Writes every accepted answer to FILE.csv, one row each, and ends."))},
        {HistoryCommand::Report,
         option("report", QStringLiteral("FILE.html"),
                QCoreApplication::translate("CommandLine",
                                            "Writes the progress report, a page for any web browser, to "
                                            "FILE.html, and ends. With data files after it (zorvel --report "
                                            "class.html a.mdb b.mdb, or *.mdb), writes one page for the class "
                                            "instead: a row and a small chart per pupil."))},
        {HistoryCommand::Pupil,
         option("pupil", QStringLiteral("NAME"),
                QCoreApplication::translate("CommandLine",
                                            "Stores NAME in the history as the pupil's name, which the report "
                                            "and the export show, and ends; an empty NAME (\"\") forgets it. "
                                            "Without a stored name they show the data file's name, or the "
                                            "account's user name for the user's own file."))},
        {HistoryCommand::OpenReport,
         QCommandLineOption(QStringLiteral("open-report"),
                            QCoreApplication::translate("CommandLine",
                                                        "Writes the progress report to NAME-进度报告.html in the "
                                                        "Documents folder (NAME: the data file's name), opens it in "
                                                        "the default web browser, and ends. Needs a display."))},
    };
}

// The history command the parsed command line names; an error when it names more than one.
CommandLineOutcome historyCommandOf(const QCommandLineParser &parser, const QList<CommandOption> &options)
{
    CommandLineOutcome outcome;
    QStringList named;
    for (const CommandOption &candidate : options) {
        if (!parser.isSet(candidate.option))
            continue;
        named.append(QStringLiteral("--") + candidate.option.names().constFirst());
        outcome.command = candidate.command;
        if (candidate.option.valueName().isEmpty())
            continue;
        outcome.commandFile = candidate.command == HistoryCommand::Pupil ? parser.value(candidate.option)
                                                                         : absolutePath(parser.value(candidate.option));
    }
    if (named.size() > 1) {
        return endsWith(1, QString(),
                        QCoreApplication::translate("CommandLine", "%1: give only one of %2 at a time.\n")
                            .arg(programName, named.join(QStringLiteral(", "))));
    }
    return outcome;
}

// The files named, made absolute; a name with a wildcard (which no shell on
// Windows expands) stands for the files it matches, in order of their names.
QStringList dataFilesNamed(const QStringList &names)
{
    QStringList files;
    for (const QString &name : names) {
        const QFileInfo info(name);
        if (!info.fileName().contains(QLatin1Char('*')) && !info.fileName().contains(QLatin1Char('?'))) {
            files.append(absolutePath(name));
            continue;
        }
        const QDir folder = info.absoluteDir();
        const QStringList matches = folder.entryList({info.fileName()}, QDir::Files, QDir::Name);
        if (matches.isEmpty())
            files.append(absolutePath(name)); // told as a file that is not there
        for (const QString &match : matches)
            files.append(absolutePath(folder.filePath(match)));
    }
    return files;
}

} // namespace

CommandLineOutcome endsWith(int exitCode, const QString &output, const QString &error)
{
    CommandLineOutcome outcome;
    outcome.runs = false;
    outcome.exitCode = exitCode;
    outcome.output = output;
    outcome.error = error;
    return outcome;
}

int printOutcome(const CommandLineOutcome &outcome)
{
    useParentConsoleForOutput();
    if (!outcome.output.isEmpty())
        writeToStream(stdout, outcome.output);
    if (!outcome.error.isEmpty())
        writeToStream(stderr, outcome.error);
    return outcome.exitCode;
}

CommandLineOutcome readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Single-dash words stay whole, as Qt's own options are written: -help, -version.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine",
                                    "Zorvel trains divergent, associative thinking. Its window is in "
                                    "Chinese.\nQt's own options, such as -platform, -style and "
                                    "-session, work as well."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("CommandLine", "Shows this help and ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QCoreApplication::translate("CommandLine", "Shows the version and ends."));
    const QCommandLineOption data(QStringLiteral("data"),
                                  QCoreApplication::translate("CommandLine",
                                                              "Works on the history in FILE instead of the user's "
                                                              "own; a new history is made there when FILE does not "
                                                              "exist."),
                                  QStringLiteral("FILE"));
    const QList<CommandOption> commands = commandOptions();
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(data);
    for (const CommandOption &command : commands)
        parser.addOption(command.option);

    if (!parser.parse(arguments)) {
        // Qt's own wording where the error is rarer; it follows Qt's translation.
        const QStringList unknown = parser.unknownOptionNames();
        const QString names = QLatin1Char('\'') + unknown.join(QStringLiteral("', '")) + QLatin1Char('\'');
        const QString problem = unknown.isEmpty() ? parser.errorText()
            : unknown.size() == 1 ? QCoreApplication::translate("CommandLine", "unknown option %1").arg(names)
                                  : QCoreApplication::translate("CommandLine", "unknown options %1").arg(names);
        return endsWith(2, QString(),
                        QCoreApplication::translate("CommandLine", "%1: %2; '%1 --help' lists the options.\n")
                            .arg(programName, problem));
    }
    if (parser.isSet(help)) {
        // Qt names the program by the path it was started with; the help names it
        // the way it is installed.
        const QString text = parser.helpText();
        return endsWith(0,
                        QCoreApplication::translate("CommandLine", "Usage: %1 [options]").arg(programName)
                            + text.mid(text.indexOf(u'\n')));
    }
    if (parser.isSet(version))
        return endsWith(0, QStringLiteral("Zorvel %1\n").arg(QStringLiteral(ZORVEL_VERSION)));
    CommandLineOutcome outcome = historyCommandOf(parser, commands);
    if (outcome.command == HistoryCommand::Report)
        outcome.reportedFiles = dataFilesNamed(parser.positionalArguments());
    if (parser.isSet(data) && !outcome.reportedFiles.isEmpty())
        return endsWith(1, QString(),
                        QCoreApplication::translate("CommandLine",
                                                    "%1: give the data files either with --data or after --report, "
                                                    "not both.\n")
                            .arg(programName));
    if (parser.isSet(data)) {
        outcome.dataPath = absolutePath(parser.value(data));
        if (QFileInfo(outcome.dataPath).isDir())
            return endsWith(1, QString(),
                            QCoreApplication::translate("CommandLine", "%1: --data needs a file, but %2 is a folder.\n")
                                .arg(programName, QDir::toNativeSeparators(outcome.dataPath)));
    }
    return outcome;
}

QString dataFileOf(const CommandLineOutcome &outcome)
{
    return outcome.dataPath.isEmpty() ? databaseFileLocation() : outcome.dataPath;
}

QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList remaining;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString name = i == 0 ? QString() : optionName(arguments.at(i));
        if (qtOptionsWithValue.contains(name))
            ++i; // its value goes with it
        else if (!qtFlags.contains(name) && !hasInlineQtValue(name))
            remaining.append(arguments.at(i));
    }
    return remaining;
}

bool namesPlatformOrDisplay(const QStringList &arguments)
{
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        const QString name = optionName(arguments.at(i));
        if (name == QStringLiteral("platform") || name == QStringLiteral("display"))
            return true;
    }
    return false;
}

std::optional<int> handleCommandLineWithoutDisplay(int argc, char *argv[])
{
    const QStringList arguments = programArguments(argc, argv);
    const CommandLineOutcome untranslated = readCommandLine(withoutQtOptions(arguments));
    const bool showsWindow = untranslated.runs
        && (untranslated.command == HistoryCommand::None || untranslated.command == HistoryCommand::OpenReport)
        && (hasGraphicalDisplay() || namesPlatformOrDisplay(arguments));
    if (showsWindow)
        return std::nullopt;
    // What ends here speaks the system's language, which takes an application
    // object; a start that shows the window makes none before its own.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zorvel"));
    installTranslations(app);
    const CommandLineOutcome outcome = readCommandLine(withoutQtOptions(arguments));
    if (!outcome.runs)
        return printOutcome(outcome);
    if (!outcome.reportedFiles.isEmpty())
        return runClassReport(outcome.commandFile, outcome.reportedFiles);
    if (outcome.command != HistoryCommand::None && outcome.command != HistoryCommand::OpenReport)
        return runHistoryCommand(outcome.command, outcome.commandFile, dataFileOf(outcome));
    const QString program = arguments.isEmpty() ? programName : arguments.first();
    return printOutcome(endsWith(1, QString(),
                                 QCoreApplication::translate("CommandLine",
                                                             "zorvel: no graphical display found (DISPLAY and "
                                                             "WAYLAND_DISPLAY are unset); to run without one, use: "
                                                             "xvfb-run %1\n")
                                     .arg(program)));
}

std::optional<int> handleCommandLine(const QStringList &arguments, QString &dataPath)
{
    const CommandLineOutcome outcome = readCommandLine(arguments);
    if (!outcome.runs)
        return printOutcome(outcome);
    dataPath = dataFileOf(outcome);
    if (outcome.command == HistoryCommand::OpenReport)
        return openProgressReport(dataPath);
    return std::nullopt;
}
