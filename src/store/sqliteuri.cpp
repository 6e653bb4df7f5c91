// SPDX-License-Identifier: GPL-3.0-or-later
#include "sqliteuri.h"

#include <QUrl>

QString sqliteFileUri(const QString &absolutePath)
{
    // A drive letter's path gets the slash that an empty authority needs before it.
    const QString path = absolutePath.startsWith(QLatin1Char('/')) ? absolutePath : QLatin1Char('/') + absolutePath;
    return QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/:"));
}
