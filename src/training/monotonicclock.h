// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clock.h"

#include <QElapsedTimer>

// The system's monotonic clock, counted from the moment this object was made.
class MonotonicClock final : public Clock
{
public:
    MonotonicClock() { m_timer.start(); }
    qint64 wholeSeconds() const override { return 1 + m_timer.elapsed() / 1000; }

private:
    QElapsedTimer m_timer;
};
