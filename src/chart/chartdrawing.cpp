// SPDX-License-Identifier: GPL-3.0-or-later
#include "chartdrawing.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QPolygonF>

#include <cmath>

namespace {

// How much darker than the point colour the top and end faces of a block are,
// as QColor::darker() factors; the end face faces away from the light.
constexpr int topFaceDarkness = 125;
constexpr int endFaceDarkness = 160;

// Room between a mark's text and its frame.
constexpr double markPaddingX = 4;
constexpr double markPaddingY = 1;

void drawFace(QPainter &painter, const QPolygonF &face, const QColor &color)
{
    painter.setPen(Qt::black);
    painter.setBrush(color);
    painter.drawPolygon(face);
}

} // namespace

void drawBevelFrame(QPainter &painter, const QRect &rect, const QPalette &palette)
{
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    auto bevel = [&painter](const QRect &r, const QColor &topLeft, const QColor &bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    bevel(rect, light, dark);
    bevel(inner, dark, light);
    painter.restore();
}

void drawBarBlock(QPainter &painter, const QRectF &front, int depth, const QColor &color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (depth > 0) {
        const QPointF back(depth, -depth);
        drawFace(painter, QPolygonF{front.topLeft(), front.topLeft() + back, front.topRight() + back, front.topRight()},
                 color.darker(topFaceDarkness));
        drawFace(painter,
                 QPolygonF{front.topRight(), front.topRight() + back, front.bottomRight() + back, front.bottomRight()},
                 color.darker(endFaceDarkness));
    }
    QLinearGradient shade(front.topLeft(), front.topRight());
    shade.setColorAt(0, color);
    shade.setColorAt(1, Qt::white);
    painter.setPen(Qt::black);
    painter.setBrush(shade);
    painter.drawRect(front);
    painter.restore();
}

QSizeF markBoxSize(const QFontMetricsF &metrics, const QString &text)
{
    return QSizeF(std::ceil(metrics.horizontalAdvance(text)) + 2 * markPaddingX,
                  std::ceil(metrics.height()) + 2 * markPaddingY);
}

void drawMark(QPainter &painter, const QPointF &anchor, const QRectF &box, const QString &text, const QColor &fill)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    painter.drawLine(anchor, QPointF(box.left(), anchor.y()));
    painter.setBrush(fill);
    painter.drawRect(box);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}
