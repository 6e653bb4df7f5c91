// SPDX-License-Identifier: GPL-3.0-or-later
#include "csvwriting.h"

#include <algorithm>

namespace {

bool needsQuotes(const QString &value)
{
    if (value.isEmpty())
        return false;
    const bool special = std::any_of(value.cbegin(), value.cend(),
                                     [](QChar c) { return c == u',' || c == u'"' || c == u'\n' || c == u'\r'; });
    // Spreadsheet programs trim unquoted space at the ends of a field.
    return special || value.front().isSpace() || value.back().isSpace();
}

} // namespace

QString csvField(const QString &value)
{
    if (!needsQuotes(value))
        return value;
    QString doubled = value;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString csvRecord(const QStringList &fields)
{
    QStringList written;
    written.reserve(fields.size());
    for (const QString &field : fields)
        written.append(csvField(field));
    return written.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}
