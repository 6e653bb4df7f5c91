// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

// Keeps a line edit's text within a number of GBK bytes. Whatever was just typed
// or pasted in front of the cursor is cut back, whole characters at a time, until
// the text fits, so a typed character that does not fit is refused and a long
// paste keeps what fits.
class GbkByteLimitValidator : public QValidator
{
    Q_OBJECT

public:
    explicit GbkByteLimitValidator(int maximumBytes, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;

private:
    int m_maximumBytes;
};
