// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

// On Windows, zorvel.exe is a GUI program and has no console of its own: what it
// prints would go nowhere. Before printing, this connects standard output and
// standard error that lead nowhere to the console of the program that started
// it (a Command Prompt or PowerShell), if there is one. Output that was
// redirected to a file or a pipe stays where it goes. Elsewhere it does nothing.
void useParentConsoleForOutput();

// Writes `text` to `stream` (stdout or stderr). On Windows a console shows it in
// full, whatever its code page, and output redirected to a file or a pipe gets
// the system's code page; elsewhere the locale's encoding.
void writeToStream(FILE *stream, const QString &text);

// The program's arguments as the user typed them. On Windows they are read from
// the wide command line: `argv` holds them in the system's code page, which has
// no room for a Korean name on a Chinese Windows, or a Chinese one on an English
// Windows. Elsewhere `argv` in the locale's encoding.
QStringList programArguments(int argc, char *argv[]);
