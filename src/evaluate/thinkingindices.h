// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class Database;

// The four thinking indices, computed from every stored question with its
// template's weight.
struct ThinkingIndices
{
    int radioIndex = 0;   // mean weighted answer count of the answered questions
    int newWordIndex = 0; // mean weighted count of answers with words new to the history
    int oldWordIndex = 0; // mean weighted count of reused words, over questions that reused one
    int heatIndex = 0;    // derived from the three others

    friend bool operator==(const ThinkingIndices &, const ThinkingIndices &) = default;
};

// Rounds to the nearest integer, halves to the even neighbour (2.5 → 2, 3.5 → 4).
qint64 roundHalfToEven(double value);

// The rounded root of |radio² + newWord² − oldWord²|, computed without overflow.
int deriveHeatIndex(int radioIndex, int newWordIndex, int oldWordIndex);

// Runs the three averaging queries and derives the heat index. A mean over no rows
// counts as 0. Throws DatabaseError when a query fails; `indices` then holds the
// values computed before the failing query and zeros after it.
void ComputeThinkingIndices(Database &db, ThinkingIndices &indices);
