// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QString>

// A file's path as messages show it to the user: with the system's separators.
inline QString displayPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
