// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What a start does with the history instead of showing the window.
enum class HistoryCommand {
    None,       // the window
    Backup,     // --backup FILE
    Restore,    // --restore FILE
    Export,     // --export FILE.csv
    Report,     // --report FILE.html [DATA.mdb ...]
    Pupil,      // --pupil NAME
    OpenReport, // --open-report: the report to the documents folder, opened in the browser
};

// What the command line asks for. Zorvel's own options are --help, --version,
// --data and the history commands; Qt's own options (-platform, -style,
// -session, ...) are Qt's business.
struct CommandLineOutcome
{
    bool runs = true; // false: the program ends at once, with exitCode
    int exitCode = 0;
    QString output;   // for standard output
    QString error;    // for standard error
    QString dataPath; // --data, made absolute; empty for the user's own file
    HistoryCommand command = HistoryCommand::None;
    QString commandFile;       // the history command's file, made absolute; --pupil's name as given
    QStringList reportedFiles; // the data files after --report, made absolute, wildcards expanded
};

// The one place where a start that ends without a window says why: prints the
// outcome's output and error, on Windows on the console of the program that
// started it, and returns its exit code.
int printOutcome(const CommandLineOutcome &outcome);

// An outcome that ends the program with `exitCode`, printing `output` and `error`.
CommandLineOutcome endsWith(int exitCode, const QString &output, const QString &error = QString());

// Reads the program's own options from arguments that no longer hold Qt's own
// (the first argument is the program). Any other argument is left alone, as it
// always was; an unknown option is an error.
CommandLineOutcome readCommandLine(const QStringList &arguments);

// The arguments without the options that QApplication itself takes, for reading
// the command line where no QApplication can be made.
QStringList withoutQtOptions(const QStringList &arguments);

// Whether the arguments give Qt a platform or a display of their own.
bool namesPlatformOrDisplay(const QStringList &arguments);

// The data file a start works on: --data's, or the user's own; empty when the
// user has no data folder.
QString dataFileOf(const CommandLineOutcome &outcome);

// For main(), before the QApplication: answers --help, --version and errors here,
// with or without a display, runs a history command (which needs no display), and
// reports a missing display. Returns the exit code when the program ends here;
// nothing when a window can be shown.
std::optional<int> handleCommandLineWithoutDisplay(int argc, char *argv[]);

// For main(), once the QApplication has taken its own options: returns the exit
// code when the program ends here; otherwise sets `dataPath` to the data file.
std::optional<int> handleCommandLine(const QStringList &arguments, QString &dataPath);
