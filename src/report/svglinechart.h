// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointF>
#include <QString>

// Line charts over time as inline SVG, for a page that loads nothing from
// elsewhere.

struct LineSeries
{
    QString name;
    QString color;                   // as CSS writes it: "#d03030"
    QList<QList<QPointF>> stretches; // each drawn as one line; between them is a gap
};

// A mark on the time axis.
struct AxisTick
{
    double x = 0;
    QString label;
};

// What the chart shows along its time axis: from `from` to `to`, in the unit of
// the points' x (days), with its ticks.
struct TimeAxis
{
    double from = 0;
    double to = 1;
    QList<AxisTick> ticks;
};

// A full chart with its title and legend, or a small one (for a row of a table)
// with neither.
enum class ChartSize {
    Full,
    Small,
};

// The top of the value axis: the smallest of 1, 2 or 5 times a power of ten
// (and at least 1) that is not below `largest`.
double axisMaximum(double largest);

// Where a label of `characters` characters, centred at `x`, starts so that it
// stays whole between `low` and `high`, with characters `characterWidth` wide.
double labelStart(double x, qsizetype characters, double characterWidth, double low, double high);

// The largest value of the series' points; 0 without any.
double largestValue(const QList<LineSeries> &series);

// A chart of `series` over `axis`, with a value axis from 0 to the
// axisMaximum() of `largest` (of the series' own largest value when 0). Each
// stretch is one line, a stretch of one point a dot, and nothing is drawn across
// a gap; a dark edge keeps light colours visible on white. It scales with its
// width.
QString lineChartSvg(const QString &title, const TimeAxis &axis, const QList<LineSeries> &series,
                     ChartSize size = ChartSize::Full, double largest = 0);
