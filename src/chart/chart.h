// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "axisscale.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class HorizontalBarSeries;

// A horizontal bar chart on a gradient panel: a one-line title at the top, a plot
// whose bottom axis carries the values on an automatic scale from 0 and whose
// left axis carries the bar positions (0 at the bottom), optionally seen as a
// three-dimensional block with the depth drawn up and to the right. The chart owns
// its series and redraws whenever a setting or a series changes.
//
// The title and the axis titles use the widget's font; tick labels, position
// labels and mark texts use the label font. Values below 0 draw as bars of length
// 0 (the value axis always starts at 0), as do NaN and infinite values, which also
// take no part in the scale. No legend is drawn: legendVisible is kept so a
// layout can state it, and a legend would honour it.
//
// The chart takes the keyboard focus. Its bars are numbered in reading order,
// from the top position down (within a position, the series in the order
// added); one of them is current and, while the chart has the focus, framed as
// the style frames focus. The arrow keys, Home and End move the current bar
// (Up and Left to the one above), and a click on a bar makes it current.
// Screen readers see each bar as a child of the chart named by its label and
// value, and the current one as focused.
class Chart : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QColor titleColor READ titleColor WRITE setTitleColor)
    Q_PROPERTY(QColor gradientTopColor READ gradientTopColor WRITE setGradientTopColor)
    Q_PROPERTY(QColor gradientBottomColor READ gradientBottomColor WRITE setGradientBottomColor)
    Q_PROPERTY(QColor panelColor READ panelColor WRITE setPanelColor)
    Q_PROPERTY(bool gradientVisible READ gradientVisible WRITE setGradientVisible)
    Q_PROPERTY(bool view3D READ view3D WRITE setView3D)
    Q_PROPERTY(int depthPercent READ depthPercent WRITE setDepthPercent)
    Q_PROPERTY(bool legendVisible READ legendVisible WRITE setLegendVisible)
    Q_PROPERTY(QString bottomAxisTitle READ bottomAxisTitle WRITE setBottomAxisTitle)
    Q_PROPERTY(QString leftAxisTitle READ leftAxisTitle WRITE setLeftAxisTitle)
    Q_PROPERTY(bool bottomAxisLabelsVisible READ bottomAxisLabelsVisible WRITE setBottomAxisLabelsVisible)
    Q_PROPERTY(bool leftAxisLabelsVisible READ leftAxisLabelsVisible WRITE setLeftAxisLabelsVisible)
    Q_PROPERTY(int leftAxisMinorTickLength READ leftAxisMinorTickLength WRITE setLeftAxisMinorTickLength)
    Q_PROPERTY(QString labelFontFamily READ labelFontFamily WRITE setLabelFontFamily)
    Q_PROPERTY(int labelFontPixelSize READ labelFontPixelSize WRITE setLabelFontPixelSize)
    Q_PROPERTY(bool backWallFilled READ backWallFilled WRITE setBackWallFilled)
    Q_PROPERTY(QColor backWallColor READ backWallColor WRITE setBackWallColor)

public:
    explicit Chart(QWidget *parent = nullptr);
    ~Chart() override;

    // Takes the series over and returns it; it is drawn after those added before.
    HorizontalBarSeries *addSeries(std::unique_ptr<HorizontalBarSeries> series);
    int seriesCount() const { return int(m_series.size()); }
    // The series at `index` in the order added, or null when there is none.
    HorizontalBarSeries *series(int index) const;

    // Where things are drawn, in widget coordinates, for the current size and
    // content: the plot's front face, the value axis scale, a bar's front face
    // and its mark box (empty when the point or its mark does not exist).
    QRectF plotArea() const;
    AxisScale valueAxisScale() const;
    QRectF barRect(int seriesIndex, int pointIndex) const;
    QRectF markRect(int seriesIndex, int pointIndex) const;

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QColor titleColor() const { return m_titleColor; }
    void setTitleColor(const QColor &color);
    // The panel's background shades from the top colour at its top edge to the
    // bottom colour at its bottom edge; without the gradient it is the panel colour.
    QColor gradientTopColor() const { return m_gradientTopColor; }
    void setGradientTopColor(const QColor &color);
    QColor gradientBottomColor() const { return m_gradientBottomColor; }
    void setGradientBottomColor(const QColor &color);
    QColor panelColor() const { return m_panelColor; }
    void setPanelColor(const QColor &color);
    bool gradientVisible() const { return m_gradientVisible; }
    void setGradientVisible(bool visible);
    // The three-dimensional view and its depth, in percent of the plot's smaller side.
    bool view3D() const { return m_view3D; }
    void setView3D(bool on);
    int depthPercent() const { return m_depthPercent; }
    void setDepthPercent(int percent);
    bool legendVisible() const { return m_legendVisible; }
    void setLegendVisible(bool visible);
    QString bottomAxisTitle() const { return m_bottomAxisTitle; }
    void setBottomAxisTitle(const QString &title);
    // Drawn along the left axis, reading upwards.
    QString leftAxisTitle() const { return m_leftAxisTitle; }
    void setLeftAxisTitle(const QString &title);
    // The bottom axis's labels are its tick values; the left axis's are the labels
    // of the first series' points.
    bool bottomAxisLabelsVisible() const { return m_bottomAxisLabelsVisible; }
    void setBottomAxisLabelsVisible(bool visible);
    bool leftAxisLabelsVisible() const { return m_leftAxisLabelsVisible; }
    void setLeftAxisLabelsVisible(bool visible);
    // Minor ticks sit on the left axis between neighbouring positions.
    int leftAxisMinorTickLength() const { return m_leftAxisMinorTickLength; }
    void setLeftAxisMinorTickLength(int pixels);
    QString labelFontFamily() const { return m_labelFontFamily; }
    void setLabelFontFamily(const QString &family);
    int labelFontPixelSize() const { return m_labelFontPixelSize; }
    void setLabelFontPixelSize(int pixels);
    // The back wall of the plot is clear unless filled, so the panel shows through.
    bool backWallFilled() const { return m_backWallFilled; }
    void setBackWallFilled(bool filled);
    QColor backWallColor() const { return m_backWallColor; }
    void setBackWallColor(const QColor &color);

    // The bars in reading order: their count, the series and point of one
    // ({-1, -1} for none), and what a screen reader says of it.
    struct BarIndex
    {
        int series = -1;
        int point = -1;
    };
    int barCount() const;
    BarIndex barAt(int index) const;
    QString barText(int index) const;
    // The current bar, or -1 while there are none.
    int currentBar() const;
    void setCurrentBar(int index);
    // Where a bar shows, in widget coordinates: its front face (a few pixels
    // wide at least, for a bar of length 0) with its mark.
    QRectF barArea(int index) const;
    // The frame drawn around the current bar while the chart has the focus.
    QRectF focusFrame() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void currentBarChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Layout;

    template<typename T>
    void assign(T &member, const T &value);

    QFont labelFont() const;
    int positionCount() const;
    QString markText(const HorizontalBarSeries &series, int pointIndex) const;
    QString positionLabel(int position) const;

    Layout layout() const;
    QRectF placeTitlesAndLabels(Layout &layout) const;
    void placeValueScale(Layout &layout) const;
    double leftAxisLabelWidth() const;
    double scaledLargestValue(const Layout &layout) const;
    AxisScale fittingScale(const Layout &layout, double largestValue) const;
    double tickX(const Layout &layout, double tick) const;
    QRectF barFront(const Layout &layout, int seriesIndex, int pointIndex) const;
    QRectF markBox(const Layout &layout, int seriesIndex, int pointIndex) const;
    QPointF markAnchor(const Layout &layout, const QRectF &front) const;

    void drawChart(QPainter &painter) const;
    void drawBackground(QPainter &painter) const;
    void drawTitle(QPainter &painter, const Layout &layout) const;
    void drawWalls(QPainter &painter, const Layout &layout) const;
    void drawBottomAxis(QPainter &painter, const Layout &layout) const;
    void drawLeftAxis(QPainter &painter, const Layout &layout) const;
    void drawAxisTitles(QPainter &painter, const Layout &layout) const;
    void drawBars(QPainter &painter, const Layout &layout) const;
    void drawMarks(QPainter &painter, const Layout &layout) const;
    void drawFocusFrame(QPainter &painter) const;
    void tellCurrentBarFocused();

    std::vector<std::unique_ptr<HorizontalBarSeries>> m_series;
    QString m_title;
    QColor m_titleColor{0, 0, 255};
    QColor m_gradientTopColor{0, 255, 255};
    QColor m_gradientBottomColor{0, 128, 255};
    QColor m_panelColor{192, 192, 192};
    bool m_gradientVisible = true;
    bool m_view3D = true;
    int m_depthPercent = 15;
    bool m_legendVisible = false;
    QString m_bottomAxisTitle;
    QString m_leftAxisTitle;
    bool m_bottomAxisLabelsVisible = true;
    bool m_leftAxisLabelsVisible = false;
    int m_leftAxisMinorTickLength = 3;
    QString m_labelFontFamily;
    int m_labelFontPixelSize = 13;
    bool m_backWallFilled = false;
    QColor m_backWallColor{255, 255, 255};
    int m_currentBar = 0;
};
