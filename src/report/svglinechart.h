// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Line charts as inline SVG, for a page that loads nothing from elsewhere.

struct LineSeries
{
    QString name;
    QString color;        // as CSS writes it: "#d03030"
    QList<double> values; // one per label
};

// The top of the value axis: the smallest of 1, 2 or 5 times a power of ten
// (and at least 1) that is not below `largest`.
double axisMaximum(double largest);

// A chart of `series` over `labels`, with its title, a value axis from 0, a
// legend, and every few labels along the bottom. It scales with its width.
QString lineChartSvg(const QString &title, const QStringList &labels, const QList<LineSeries> &series);
