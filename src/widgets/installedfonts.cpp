// SPDX-License-Identifier: GPL-3.0-or-later
#include "installedfonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

QString installedFamily(const QString &family)
{
    static QHash<QString, QString> resolved;
    if (const auto found = resolved.constFind(family); found != resolved.cend())
        return *found;
    QString result = family;
    if (!QFontDatabase::hasFamily(family)) {
        for (const QString &substitute : QFont::substitutes(family)) {
            if (QFontDatabase::hasFamily(substitute)) {
                result = substitute;
                break;
            }
        }
    }
    resolved.insert(family, result);
    return result;
}

QString withInstalledFamilies(const QString &styleSheet)
{
    QString result = styleSheet;
    for (const QString &family : QFont::substitutions()) {
        const QString quoted = QLatin1Char('"') + family + QLatin1Char('"');
        if (result.contains(quoted))
            result.replace(quoted, QLatin1Char('"') + installedFamily(family) + QLatin1Char('"'));
    }
    return result;
}
