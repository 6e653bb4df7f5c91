// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

// The score bar: a rectangle filled in one colour and outlined in another.
class ScoreShape : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor brushColor READ brushColor WRITE setBrushColor)
    Q_PROPERTY(QColor penColor READ penColor WRITE setPenColor)

public:
    explicit ScoreShape(QWidget *parent = nullptr);

    QColor brushColor() const { return m_brushColor; }
    void setBrushColor(const QColor &color);
    QColor penColor() const { return m_penColor; }
    void setPenColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_brushColor;
    QColor m_penColor;
};
