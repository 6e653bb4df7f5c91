// SPDX-License-Identifier: GPL-3.0-or-later
#include "barlayout.h"

#include <algorithm>
#include <cmath>

double barLengthFraction(double value, double axisMaximum)
{
    if (!(value > 0) || !std::isfinite(value) || !(axisMaximum > 0))
        return 0;
    return std::min(1.0, value / axisMaximum);
}

double positionCentreY(const QRectF &plot, int position, int positionCount)
{
    const double band = plot.height() / std::max(1, positionCount);
    return plot.bottom() - (position + 0.5) * band;
}

QRectF barFrontRect(const QRectF &plot, const BarPlacement &placement, double lengthFraction)
{
    const int seriesCount = std::max(1, placement.seriesCount);
    const double band = plot.height() / std::max(1, placement.positionCount);
    const double slot = band / seriesCount;
    const double thickness = slot * std::clamp(placement.thicknessPercent, 1, 100) / 100.0;
    const double slotCentre = plot.bottom() - placement.position * band - (placement.seriesIndex + 0.5) * slot;
    const double top = std::round(slotCentre - thickness / 2);
    const double bottom = std::max(top + 1, std::round(slotCentre + thickness / 2));
    const double left = std::round(plot.left());
    const double right = std::round(plot.left() + std::clamp(lengthFraction, 0.0, 1.0) * plot.width());
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

int depthPixels(const QSizeF &plotSize, int depthPercent)
{
    const double side = std::max(0.0, std::min(plotSize.width(), plotSize.height()));
    return int(std::lround(side * std::clamp(depthPercent, 0, 100) / 100.0));
}
