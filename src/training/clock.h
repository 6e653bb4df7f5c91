// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Whole seconds on a clock that never goes back, for the too-fast rule.
// Never returns 0, which stands for "no answer yet".
class Clock
{
public:
    virtual ~Clock() = default;
    virtual qint64 wholeSeconds() const = 0;
};
