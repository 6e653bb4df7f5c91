// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>

// Where a bar sits across the position axis. The plot is cut into `positionCount`
// equal bands, position 0 at the bottom; within a band the series share
// `seriesCount` equal slots side by side, the first series lowest; the bar fills
// `thicknessPercent` of its slot, centred in it.
struct BarPlacement
{
    int position = 0;
    int positionCount = 1;
    int seriesIndex = 0;
    int seriesCount = 1;
    int thicknessPercent = 70;
};

// The share of the value axis a bar covers: 0 for negative values (bars start at
// 0 and never point left) and for NaN and infinities, 1 for values beyond the
// axis maximum.
double barLengthFraction(double value, double axisMaximum);

// The centre line of a position's band, as a y coordinate in the plot.
double positionCentreY(const QRectF &plot, int position, int positionCount);

// The front face of a bar that covers `lengthFraction` of the plot's width from
// its left edge, with all edges on whole pixels.
QRectF barFrontRect(const QRectF &plot, const BarPlacement &placement, double lengthFraction);

// The depth offset of the three-dimensional view: `depthPercent` of the plot's
// smaller side, in whole pixels, applied up and to the right.
int depthPixels(const QSizeF &plotSize, int depthPercent);
