// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// A value axis that starts at 0 and runs in equal steps up to its maximum.
struct AxisScale
{
    double maximum = 10;
    double step = 2;

    friend bool operator==(const AxisScale &, const AxisScale &) = default;
};

// The scale for values up to `largestValue` with at most `maximumStepCount` steps
// (at least 1): the step is 1, 2 or 5 times a power of ten, the maximum the first
// multiple of it that reaches `largestValue`. A largest value that is not a
// positive finite number (all values zero or negative, NaN, infinity) gives the
// scale of 10, so an empty axis still shows round ticks. Where the rounded maximum
// would overflow, it is the largest finite double instead.
AxisScale niceAxisScale(double largestValue, int maximumStepCount);

// The tick values 0, step, 2 × step, … up to the maximum.
QList<double> axisTickValues(const AxisScale &scale);

// A tick value as the axis writes it: as many decimals as the step needs, and
// exponent notation for very large or very small steps.
QString axisTickText(double value, double step);
