// SPDX-License-Identifier: GPL-3.0-or-later
#include "progressperiods.h"

#include <QMap>

#include <optional>

namespace {

// SQL's avg(): the non-NULL values of the rows that pass the filter, summed in
// a double, over their count; 0 over none.
class Mean
{
public:
    void add(bool passes, const std::optional<qint64> &value)
    {
        if (passes && value) {
            m_sum += double(*value);
            ++m_count;
        }
    }
    double value() const { return m_count == 0 ? 0.0 : m_sum / double(m_count); }

private:
    double m_sum = 0;
    qint64 m_count = 0;
};

QDate dayOf(const QString &time)
{
    return QDate::fromString(time.left(10), QStringLiteral("yyyy-MM-dd"));
}

} // namespace

QDate periodStart(const QDate &day, ProgressPeriod period)
{
    if (period == ProgressPeriod::Month)
        return QDate(day.year(), day.month(), 1);
    return day.addDays(1 - day.dayOfWeek());
}

ThinkingIndices indicesOfQuestions(const QList<WeightedQuestion> &questions)
{
    Mean radio;
    Mean newWord;
    Mean oldWord;
    for (const WeightedQuestion &question : questions) {
        radio.add(question.answered, question.weightedAnswers);
        newWord.add(question.answered, question.weightedNewWords);
        oldWord.add(question.reused, question.weightedRepeats);
    }
    ThinkingIndices indices;
    indices.radioIndex = roundedIndex(radio.value());
    indices.newWordIndex = roundedIndex(newWord.value());
    indices.oldWordIndex = roundedIndex(oldWord.value());
    indices.heatIndex = deriveHeatIndex(indices.radioIndex, indices.newWordIndex, indices.oldWordIndex);
    return indices;
}

QList<PeriodIndices> indicesByPeriod(const QList<WeightedQuestion> &questions, ProgressPeriod period)
{
    QMap<QDate, QList<WeightedQuestion>> byPeriod;
    for (const WeightedQuestion &question : questions) {
        const QDate day = dayOf(question.time);
        if (day.isValid())
            byPeriod[periodStart(day, period)].append(question);
    }
    QList<PeriodIndices> result;
    for (auto it = byPeriod.cbegin(); it != byPeriod.cend(); ++it) {
        const auto answered = std::count_if(it->cbegin(), it->cend(),
                                            [](const WeightedQuestion &question) { return question.answered; });
        result.append({it.key(), int(answered), indicesOfQuestions(*it)});
    }
    return result;
}

QDate nextPeriodStart(const QDate &start, ProgressPeriod period)
{
    return period == ProgressPeriod::Month ? start.addMonths(1) : start.addDays(7);
}

QList<QList<QPointF>> periodStretches(const QList<PeriodIndices> &periods, ProgressPeriod period,
                                      int ThinkingIndices::*member)
{
    QList<QList<QPointF>> stretches;
    QDate expected;
    for (const PeriodIndices &one : periods) {
        if (stretches.isEmpty() || one.start != expected)
            stretches.append(QList<QPointF>());
        const QDate next = nextPeriodStart(one.start, period);
        const double middle = double(one.start.toJulianDay() + next.toJulianDay()) / 2.0;
        stretches.last().append(QPointF(middle, double(one.indices.*member)));
        expected = next;
    }
    return stretches;
}
