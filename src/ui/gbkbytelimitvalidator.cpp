#include "gbkbytelimitvalidator.h"

#include "training/gbk.h"

GbkByteLimitValidator::GbkByteLimitValidator(int maximumBytes, QObject *parent)
    : QValidator(parent), m_maximumBytes(maximumBytes)
{
}

QValidator::State GbkByteLimitValidator::validate(QString &input, int &pos) const
{
    while (gbkLength(input) > m_maximumBytes) {
        if (pos <= 0)
            return Invalid;
        // Remove one whole character before the cursor (both halves of a surrogate pair).
        int length = 1;
        if (pos >= 2 && input.at(pos - 1).isLowSurrogate() && input.at(pos - 2).isHighSurrogate())
            length = 2;
        input.remove(pos - length, length);
        pos -= length;
    }
    return Acceptable;
}
