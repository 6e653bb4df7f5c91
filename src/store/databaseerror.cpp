#include "databaseerror.h"

DatabaseError::DatabaseError(const QString &summary, const QString &engineText)
    : std::runtime_error(summary.toStdString()), m_summary(summary), m_engineText(engineText.trimmed())
{
}

QString DatabaseError::text() const
{
    if (m_engineText.isEmpty())
        return m_summary;
    return m_summary + QStringLiteral("\n\n") + m_engineText;
}
