// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRandomGenerator>

// The one source of every random choice of the training engine: templates, slot
// words and feedback phrases. Seeded once; tests seed it with a fixed number, or
// put a source of their own in its place.
class RandomSource
{
public:
    RandomSource(); // seeded from the system's entropy source
    explicit RandomSource(quint32 seed);
    virtual ~RandomSource() = default;

    // A uniformly drawn integer from low to high, both included; low when high < low.
    virtual int RandomInRange(int low, int high);

private:
    QRandomGenerator m_generator;
};

// A row drawn at random, each with the same chance, among `rowCount` rows: its
// 1-based position, or 0 when there are no rows.
int drawRowPosition(RandomSource &random, int rowCount);
