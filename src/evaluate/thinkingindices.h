// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
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

// One of the four indices as the evaluation window and the progress report
// show it.
struct ThinkingIndexKind
{
    const char *id;               // the member's name: "heatIndex"
    QString name;                 // the bar's label: "头脑发热值"
    int ThinkingIndices::*member; // its value
    int barPosition;              // on the chart's left axis, 0 at the bottom
    QString explanation;          // what it measures, and which way is better
};

// The four indices, in the order of the evaluation chart from its top bar down.
const QList<ThinkingIndexKind> &thinkingIndexKinds();

// What the four indices mean, one line each, "头脑发热值：…", in the chart's
// order: the text of the evaluation window, the report, the README and the
// manual page.
QString thinkingIndicesExplanation();

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
