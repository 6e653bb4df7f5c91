// SPDX-License-Identifier: GPL-3.0-or-later
#include "axisscale.h"

#include <cmath>
#include <limits>

namespace {

constexpr double defaultLargestValue = 10;
// Values below this are too small to take a power of ten from; they count as zero.
constexpr double smallestScaledValue = 1e-300;
// Lets a value that is a whole number of steps up to rounding error stay on its tick.
constexpr double roundingSlack = 1e-12;
// Keeps a scale that a caller built by hand from producing endless ticks.
constexpr int mostTicks = 1000;

// multiple × 10^exponent, divided rather than multiplied for negative exponents
// so that steps such as 0.1 and 0.02 are the nearest doubles to those decimals.
double roundStep(int multiple, int exponent)
{
    return exponent >= 0 ? multiple * std::pow(10.0, exponent) : multiple / std::pow(10.0, -exponent);
}

bool isScalable(double value)
{
    return std::isfinite(value) && value >= smallestScaledValue;
}

} // namespace

AxisScale niceAxisScale(double largestValue, int maximumStepCount)
{
    const double largest = isScalable(largestValue) ? largestValue : defaultLargestValue;
    const int steps = std::max(1, maximumStepCount);
    const int exponent = int(std::floor(std::log10(largest / steps)));
    for (int multiple : {1, 2, 5, 10}) {
        const double step = roundStep(multiple, exponent);
        if (!std::isfinite(step))
            break;
        const double count = std::max(1.0, std::ceil(largest / step * (1 - roundingSlack)));
        if (count > steps)
            continue;
        const double maximum = count * step;
        return {std::isfinite(maximum) ? maximum : std::numeric_limits<double>::max(), step};
    }
    // Only near the top of the double range, where no round step is finite.
    return {largest, largest / steps};
}

QList<double> axisTickValues(const AxisScale &scale)
{
    if (!(scale.step > 0) || !(scale.maximum > 0) || !std::isfinite(scale.maximum))
        return {0};
    const double steps = std::floor(scale.maximum / scale.step * (1 + roundingSlack));
    const int count = int(std::min<double>(steps, mostTicks));
    QList<double> ticks;
    ticks.reserve(count + 1);
    for (int i = 0; i <= count; ++i)
        ticks.append(i * scale.step);
    return ticks;
}

QString axisTickText(double value, double step)
{
    if (step >= 1 && std::abs(value) < 1e15)
        return QString::number(value, 'f', 0);
    if (step >= 1e-6 && step < 1) {
        const int decimals = int(std::ceil(-std::log10(step) - roundingSlack));
        return QString::number(value, 'f', decimals);
    }
    return QString::number(value, 'g', 6);
}
