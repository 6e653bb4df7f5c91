// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>

// A series of horizontal bars, one per point. Each point has a value, a label and
// a colour and takes the next free position on the chart's position axis, the
// first point at the bottom. Points keep the order in which they were added.
class HorizontalBarSeries : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName)
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(bool colorEachPoint READ colorEachPoint WRITE setColorEachPoint)
    Q_PROPERTY(int barThicknessPercent READ barThicknessPercent WRITE setBarThicknessPercent)
    Q_PROPERTY(bool marksVisible READ marksVisible WRITE setMarksVisible)
    Q_PROPERTY(QColor markColor READ markColor WRITE setMarkColor)
    Q_PROPERTY(int markLineLength READ markLineLength WRITE setMarkLineLength)

public:
    explicit HorizontalBarSeries(const QString &name = QString(), QObject *parent = nullptr);

    // Appends a point at the next position and returns its index. An invalid
    // colour is the automatic colour: the palette colour of the point's position
    // when each point has its own colour, otherwise the series colour.
    int addBar(double value, const QString &label, const QColor &color = QColor());

    int count() const { return int(m_points.size()); }
    double value(int index) const;
    QString label(int index) const;
    // The colour the point is drawn in, with the automatic colour resolved.
    QColor pointColor(int index) const;

    QString name() const { return m_name; }
    void setName(const QString &name);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    bool colorEachPoint() const { return m_colorEachPoint; }
    void setColorEachPoint(bool on);
    // The bar's thickness as a share of the distance between neighbouring positions.
    int barThicknessPercent() const { return m_barThicknessPercent; }
    void setBarThicknessPercent(int percent);
    // Marks: a framed box beside each bar with the point's label, joined to the
    // bar's end by a line.
    bool marksVisible() const { return m_marksVisible; }
    void setMarksVisible(bool visible);
    QColor markColor() const { return m_markColor; }
    void setMarkColor(const QColor &color);
    int markLineLength() const { return m_markLineLength; }
    void setMarkLineLength(int pixels);

signals:
    // Points or settings changed; the chart showing the series redraws.
    void changed();

private:
    struct Point
    {
        double value = 0;
        QString label;
        QColor color; // invalid for the automatic colour
    };

    template<typename T>
    void assign(T &member, const T &value);

    QList<Point> m_points;
    QString m_name;
    QColor m_color{255, 0, 0};
    bool m_colorEachPoint = false;
    int m_barThicknessPercent = 70;
    bool m_marksVisible = true;
    QColor m_markColor{255, 255, 128};
    int m_markLineLength = 20;
};
