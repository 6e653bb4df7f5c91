// SPDX-License-Identifier: GPL-3.0-or-later
#include "randomsource.h"

RandomSource::RandomSource() : m_generator(QRandomGenerator::securelySeeded())
{
}

RandomSource::RandomSource(quint32 seed) : m_generator(seed)
{
}

int RandomSource::RandomInRange(int low, int high)
{
    if (high <= low)
        return low;
    return int(m_generator.bounded(qint64(low), qint64(high) + 1));
}

int drawRowPosition(RandomSource &random, int rowCount)
{
    return rowCount > 0 ? random.RandomInRange(1, rowCount) : 0;
}
