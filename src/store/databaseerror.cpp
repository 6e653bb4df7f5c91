// SPDX-License-Identifier: GPL-3.0-or-later
#include "databaseerror.h"

namespace {

QString messageText(const QString &summary, const QString &engineText)
{
    if (engineText.isEmpty())
        return summary;
    return summary + QStringLiteral("\n\n") + engineText;
}

} // namespace

DatabaseError::DatabaseError(const QString &summary, const QString &engineText, int resultCode)
    : std::runtime_error(messageText(summary, engineText.trimmed()).toStdString()),
      m_summary(summary),
      m_engineText(engineText.trimmed()),
      m_resultCode(resultCode)
{
}

QString DatabaseError::text() const
{
    return messageText(m_summary, m_engineText);
}
