// SPDX-License-Identifier: GPL-3.0-or-later
#include "savedfile.h"

#include <QSaveFile>

bool saveWhole(const QString &path, const QByteArray &content, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
