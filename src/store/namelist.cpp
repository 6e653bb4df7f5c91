// SPDX-License-Identifier: GPL-3.0-or-later
#include "namelist.h"

QString columnIsOneOf(const QString &column, const QStringList &names, QVariantList &values)
{
    if (names.isEmpty())
        return QStringLiteral("0");
    QString placeholders = QStringLiteral("?");
    placeholders.reserve(names.size() * 3);
    for (qsizetype i = 1; i < names.size(); ++i)
        placeholders += QStringLiteral(", ?");
    for (const QString &name : names)
        values.append(name);
    return column + QStringLiteral(" IN (") + placeholders + QLatin1Char(')');
}
