// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendarticks.h"

#include <array>

namespace {

enum class Unit {
    Week,
    Month,
};

struct Step
{
    Unit unit;
    int count; // weeks, or months
    const char *format;
};

constexpr std::array steps{
    Step{Unit::Week, 1, "yyyy-MM-dd"}, Step{Unit::Month, 1, "yyyy-MM"}, Step{Unit::Month, 2, "yyyy-MM"},
    Step{Unit::Month, 3, "yyyy-MM"},   Step{Unit::Month, 6, "yyyy-MM"}, Step{Unit::Month, 12, "yyyy"},
    Step{Unit::Month, 24, "yyyy"},     Step{Unit::Month, 60, "yyyy"},   Step{Unit::Month, 120, "yyyy"},
};

// The first boundary of the step on or after `day`.
QDate firstBoundary(const QDate &day, const Step &step)
{
    if (step.unit == Unit::Week)
        return day.addDays((8 - day.dayOfWeek()) % 7);
    const int months = day.year() * 12 + day.month() - 1;
    int first = (months + step.count - 1) / step.count * step.count;
    if (first == months && day.day() != 1)
        first += step.count;
    return QDate(first / 12, first % 12 + 1, 1);
}

QDate nextBoundary(const QDate &day, const Step &step)
{
    return step.unit == Unit::Week ? day.addDays(7 * step.count) : day.addMonths(step.count);
}

QList<AxisTick> ticksOf(const QDate &from, const QDate &end, const Step &step, int most)
{
    QList<AxisTick> ticks;
    for (QDate day = firstBoundary(from, step); day <= end; day = nextBoundary(day, step)) {
        if (ticks.size() == most)
            return {};
        ticks.append({double(day.toJulianDay()), day.toString(QString::fromLatin1(step.format))});
    }
    return ticks;
}

} // namespace

TimeAxis calendarAxis(const QDate &from, const QDate &to, int most)
{
    TimeAxis axis;
    const QDate end = to.addDays(1);
    axis.from = double(from.toJulianDay());
    axis.to = double(end.toJulianDay());
    for (const Step &step : steps) {
        axis.ticks = ticksOf(from, end, step, most);
        if (!axis.ticks.isEmpty())
            break;
    }
    return axis;
}
