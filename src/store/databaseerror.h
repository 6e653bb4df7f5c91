// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

// A failure of the data store: a Chinese sentence for the user, followed by the
// database engine's own text where there is one. what() holds the whole message
// for the user in UTF-8, so that a window can show any error the same way.
class DatabaseError : public std::runtime_error
{
public:
    explicit DatabaseError(const QString &summary, const QString &engineText = QString(), int resultCode = 0);

    QString summary() const { return m_summary; }
    QString engineText() const { return m_engineText; }
    // SQLite's primary result code (ResultCode), or 0 when the failure was not the engine's.
    int resultCode() const { return m_resultCode; }
    // The text of the error box: the sentence, a blank line, the engine's text.
    QString text() const;

private:
    QString m_summary;
    QString m_engineText;
    int m_resultCode = 0;
};
