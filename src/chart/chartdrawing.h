// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRectF>

class QFontMetricsF;
class QPainter;
class QPalette;
class QString;

// A frame of two 1-pixel bevels just inside `rect`: a raised outer one (light
// top and left, dark bottom and right) and a lowered inner one (the reverse).
void drawBevelFrame(QPainter &painter, const QRect &rect, const QPalette &palette);

// A bar as a block seen from the front, above and right: the front face shades
// from `color` at its left end to white at its right end, the top and end faces
// are darker shades of `color`, and every face is outlined in black. A depth of
// 0 draws the front face alone.
void drawBarBlock(QPainter &painter, const QRectF &front, int depth, const QColor &color);

// The size of a mark's box around `text` in the font measured by `metrics`.
QSizeF markBoxSize(const QFontMetricsF &metrics, const QString &text);

// A mark: a black line from `anchor` to the left middle of `box`, and the box
// filled with `fill`, framed in black, holding `text` centred in black in the
// painter's current font.
void drawMark(QPainter &painter, const QPointF &anchor, const QRectF &box, const QString &text, const QColor &fill);
