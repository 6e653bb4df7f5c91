// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for. Zorvel has two options of its own, --help and
// --version; Qt's own options (-platform, -style, -session, ...) are Qt's business.
struct CommandLineOutcome
{
    bool runs = true;  // false: the program ends at once, with exitCode
    int exitCode = 0;
    QString output;    // for standard output
    QString error;     // for standard error
};

// Reads the program's own options from arguments that no longer hold Qt's own
// (the first argument is the program). Any other argument is left alone, as it
// always was; an unknown option is an error.
CommandLineOutcome readCommandLine(const QStringList &arguments);

// The arguments without the options that QApplication itself takes, for reading
// the command line where no QApplication can be made.
QStringList withoutQtOptions(const QStringList &arguments);

// Whether the arguments give Qt a platform or a display of their own.
bool namesPlatformOrDisplay(const QStringList &arguments);

// For main(), before the QApplication: answers --help, --version and errors here,
// with or without a display, and reports a missing display. Returns the exit
// code when the program ends here; nothing when a window can be shown.
std::optional<int> handleCommandLineWithoutDisplay(int argc, char *argv[]);

// For main(), once the QApplication has taken its own options: returns the exit
// code when the program ends here.
std::optional<int> handleCommandLine(const QStringList &arguments);
