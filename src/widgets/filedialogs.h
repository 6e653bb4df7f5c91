// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The file choices of the program and the opening of a file in its default
// program, all through here, so that a test can choose the files itself and
// see what would have been opened, with nothing shown and nothing started.
class FileDialogs
{
public:
    // The file to save to, starting at `suggested`; empty when the user cancels.
    static QString saveFile(QWidget *parent, const QString &caption, const QString &suggested, const QString &filter);
    // An existing file to open, starting in `folder`; empty when the user cancels.
    static QString openFile(QWidget *parent, const QString &caption, const QString &folder, const QString &filter);
    // Opens the file in the program the desktop opens it with (a web page in
    // the web browser). False when nothing could open it.
    static bool openInBrowser(const QString &file);

    // From now on, no dialog is shown and nothing is opened: file choices take
    // their answers from the queue (a cancel when it is empty, or for an empty
    // answer), and the files to open are recorded.
    static void scriptFiles(const QStringList &answers);
    static QStringList openedFiles();
    static void clearOpenedFiles();
};
