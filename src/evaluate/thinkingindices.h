// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
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

// A mean as an index: rounded half to even, within the range of int.
int roundedIndex(double mean);

// The rounded root of |radio² + newWord² − oldWord²|, computed without overflow.
int deriveHeatIndex(int radioIndex, int newWordIndex, int oldWordIndex);

// The indices as a screen reader reads the chart, from its top bar down:
// "头脑发热值 12，思维发散值 10，联想发现值 7，思考守旧值 3".
QString describeThinkingIndices(const ThinkingIndices &indices);

// Runs the three averaging queries and derives the heat index. A mean over no rows
// counts as 0. Throws DatabaseError when a query fails; `indices` then holds the
// values computed before the failing query and zeros after it.
void ComputeThinkingIndices(Database &db, ThinkingIndices &indices);
