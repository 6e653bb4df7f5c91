// SPDX-License-Identifier: GPL-3.0-or-later
#include "gbkbytelimitvalidator.h"

#include "training/gbk.h"

GbkByteLimitValidator::GbkByteLimitValidator(int maximumBytes, QObject *parent)
    : QValidator(parent),
      m_maximumBytes(maximumBytes)
{
}

QValidator::State GbkByteLimitValidator::validate(QString &input, int &pos) const
{
    const QStringView text(input);
    qsizetype cursor = qBound(0, pos, int(text.size()));
    // A cursor inside a surrogate pair counts the pair with the text after it.
    if (cursor > 0 && cursor < text.size() && text[cursor - 1].isHighSurrogate() && text[cursor].isLowSurrogate())
        --cursor;
    // The text after the cursor stays; the text before it keeps the longest start
    // that leaves room for it. Each character is measured once, and the scan of
    // the text before the cursor stops at the first character that does not fit.
    const qsizetype bytesAfterCursor = gbkLength(text.sliced(cursor));
    if (bytesAfterCursor > m_maximumBytes)
        return Invalid;
    const qsizetype kept = gbkFittingPrefix(text.first(cursor), m_maximumBytes - bytesAfterCursor);
    if (kept < cursor) {
        input.remove(kept, cursor - kept);
        pos = int(kept);
    }
    return Acceptable;
}
