// SPDX-License-Identifier: GPL-3.0-or-later
#include "horizontalbarseries.h"
#include "chartpalette.h"

#include <algorithm>

HorizontalBarSeries::HorizontalBarSeries(const QString &name, QObject *parent) : QObject(parent), m_name(name)
{
}

int HorizontalBarSeries::addBar(double value, const QString &label, const QColor &color)
{
    m_points.append({value, label, color});
    emit changed();
    return count() - 1;
}

double HorizontalBarSeries::value(int index) const
{
    return m_points.value(index).value;
}

QString HorizontalBarSeries::label(int index) const
{
    return m_points.value(index).label;
}

QColor HorizontalBarSeries::pointColor(int index) const
{
    const QColor own = m_points.value(index).color;
    if (own.isValid())
        return own;
    return m_colorEachPoint ? chartPaletteColor(index) : m_color;
}

template<typename T>
void HorizontalBarSeries::assign(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    emit changed();
}

void HorizontalBarSeries::setName(const QString &name)
{
    assign(m_name, name);
}

void HorizontalBarSeries::setColor(const QColor &color)
{
    assign(m_color, color);
}

void HorizontalBarSeries::setColorEachPoint(bool on)
{
    assign(m_colorEachPoint, on);
}

void HorizontalBarSeries::setBarThicknessPercent(int percent)
{
    assign(m_barThicknessPercent, std::clamp(percent, 1, 100));
}

void HorizontalBarSeries::setMarksVisible(bool visible)
{
    assign(m_marksVisible, visible);
}

void HorizontalBarSeries::setMarkColor(const QColor &color)
{
    assign(m_markColor, color);
}

void HorizontalBarSeries::setMarkLineLength(int pixels)
{
    assign(m_markLineLength, std::max(0, pixels));
}
