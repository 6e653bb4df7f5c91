// SPDX-License-Identifier: GPL-3.0-or-later
#include "thinkingindices.h"

#include "store/historystatistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

qint64 roundHalfToEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        rounded = floor + 1.0;
    constexpr double limit = double(std::numeric_limits<qint64>::max());
    return rounded >= limit ? std::numeric_limits<qint64>::max() : qint64(rounded);
}

int deriveHeatIndex(int radioIndex, int newWordIndex, int oldWordIndex)
{
    const auto square = [](int value) { return double(value) * double(value); };
    // Each square is exact in a double; their sum stays within 2^63, far from any
    // rounding that could move the root across a half.
    const long double sum = (long double)square(radioIndex) + square(newWordIndex) - square(oldWordIndex);
    const double root = double(std::sqrt(std::fabs(sum)));
    const qint64 rounded = roundHalfToEven(root);
    return rounded > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : int(rounded);
}

int roundedIndex(double mean)
{
    return int(
        std::clamp<qint64>(roundHalfToEven(mean), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QString describeThinkingIndices(const ThinkingIndices &indices)
{
    return QStringLiteral("头脑发热值 %1，思维发散值 %2，联想发现值 %3，思考守旧值 %4")
        .arg(indices.heatIndex)
        .arg(indices.radioIndex)
        .arg(indices.newWordIndex)
        .arg(indices.oldWordIndex);
}

void ComputeThinkingIndices(Database &db, ThinkingIndices &indices)
{
    indices = ThinkingIndices();
    indices.radioIndex = roundedIndex(meanWeightedAnswerCount(db));
    indices.newWordIndex = roundedIndex(meanWeightedNewWordCount(db));
    indices.oldWordIndex = roundedIndex(meanWeightedRepeatCount(db));
    indices.heatIndex = deriveHeatIndex(indices.radioIndex, indices.newWordIndex, indices.oldWordIndex);
}
