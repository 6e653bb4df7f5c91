// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoreshape.h"

#include <QPainter>

ScoreShape::ScoreShape(QWidget *parent)
    : QWidget(parent),
      m_brushColor(palette().color(QPalette::Window)),
      m_penColor(m_brushColor)
{
    setMouseTracking(true);
}

void ScoreShape::setBrushColor(const QColor &color)
{
    m_brushColor = color;
    update();
}

void ScoreShape::setPenColor(const QColor &color)
{
    m_penColor = color;
    update();
}

void ScoreShape::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), m_brushColor);
    painter.setPen(m_penColor);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
