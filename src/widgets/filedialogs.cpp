// SPDX-License-Identifier: GPL-3.0-or-later
#include "filedialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace {

struct Script
{
    bool active = false;
    QStringList answers;
    QStringList opened;
};

Script &script()
{
    static Script instance;
    return instance;
}

QString scriptedAnswer()
{
    return script().answers.isEmpty() ? QString() : script().answers.takeFirst();
}

} // namespace

QString FileDialogs::saveFile(QWidget *parent, const QString &caption, const QString &suggested, const QString &filter)
{
    if (script().active)
        return scriptedAnswer();
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

QString FileDialogs::openFile(QWidget *parent, const QString &caption, const QString &folder, const QString &filter)
{
    if (script().active)
        return scriptedAnswer();
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

bool FileDialogs::openInBrowser(const QString &file)
{
    if (script().active) {
        script().opened.append(file);
        return true;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void FileDialogs::scriptFiles(const QStringList &answers)
{
    script().active = true;
    script().answers = answers;
}

QStringList FileDialogs::openedFiles()
{
    return script().opened;
}

void FileDialogs::clearOpenedFiles()
{
    script().opened.clear();
}
