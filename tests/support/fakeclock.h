// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "training/clock.h"

// A clock that tests and tools set and move on by hand.
class FakeClock final : public Clock
{
public:
    qint64 wholeSeconds() const override { return m_seconds; }
    void advance(qint64 seconds) { m_seconds += seconds; }

private:
    qint64 m_seconds = 1000;
};
