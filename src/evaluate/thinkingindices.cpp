// SPDX-License-Identifier: GPL-3.0-or-later
#include "thinkingindices.h"

#include "store/historystatistics.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

const QList<ThinkingIndexKind> &thinkingIndexKinds()
{
    static const QList<ThinkingIndexKind> kinds{
        {"heatIndex", QStringLiteral("头脑发热值"), &ThinkingIndices::heatIndex, 3,
         QStringLiteral("由另外三项合成：思维发散值和联想发现值把它抬高，思考守旧值把它拉低。越高越好。")},
        {"radioIndex", QStringLiteral("思维发散值"), &ThinkingIndices::radioIndex, 2,
         QStringLiteral("每道有回答的题平均给出几个回答，按题型的权重计。越高越好。")},
        {"newWordIndex", QStringLiteral("联想发现值"), &ThinkingIndices::newWordIndex, 1,
         QStringLiteral("每道有回答的题平均有几个回答用了以前从没答过的词，按题型的权重计。越高越好。")},
        {"oldWordIndex", QStringLiteral("思考守旧值"), &ThinkingIndices::oldWordIndex, 0,
         QStringLiteral("在用了旧词的题里，平均每题有几个回答用了以前答过的词，按题型的权重计。越低越好。")},
    };
    return kinds;
}

QString thinkingIndicesExplanation()
{
    QStringList lines;
    for (const ThinkingIndexKind &kind : thinkingIndexKinds())
        lines.append(kind.name + QStringLiteral("：") + kind.explanation);
    return lines.join(QLatin1Char('\n'));
}

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
    QStringList parts;
    for (const ThinkingIndexKind &kind : thinkingIndexKinds())
        parts.append(kind.name + QLatin1Char(' ') + QString::number(indices.*kind.member));
    return parts.join(QStringLiteral("，"));
}

void ComputeThinkingIndices(Database &db, ThinkingIndices &indices)
{
    indices = ThinkingIndices();
    indices.radioIndex = roundedIndex(meanWeightedAnswerCount(db));
    indices.newWordIndex = roundedIndex(meanWeightedNewWordCount(db));
    indices.oldWordIndex = roundedIndex(meanWeightedRepeatCount(db));
    indices.heatIndex = deriveHeatIndex(indices.radioIndex, indices.newWordIndex, indices.oldWordIndex);
}
