// SPDX-License-Identifier: GPL-3.0-or-later
#include "installedfonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

#include <cstring>

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
    // QFont keeps the names of families and substitutes in lower case; family
    // names are matched without regard to case.
    for (const QString &family : QFont::substitutions()) {
        const QString quoted = QLatin1Char('"') + family + QLatin1Char('"');
        if (!result.contains(quoted, Qt::CaseInsensitive))
            continue;
        const QString installed = installedFamily(family);
        if (installed.compare(family, Qt::CaseInsensitive) != 0)
            result.replace(quoted, QLatin1Char('"') + installed + QLatin1Char('"'), Qt::CaseInsensitive);
    }
    return result;
}

QString InstalledFontTranslator::translate(const char *, const char *sourceText, const char *, int) const
{
    if (!sourceText || !std::strstr(sourceText, "font-family:"))
        return QString();
    const QString styleSheet = QString::fromUtf8(sourceText);
    const QString resolved = withInstalledFamilies(styleSheet);
    return resolved == styleSheet ? QString() : resolved;
}
