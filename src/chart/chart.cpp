// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart.h"
#include "barlayout.h"
#include "chartaccessible.h"
#include "chartdrawing.h"
#include "horizontalbarseries.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int frameWidth = 2;       // two 1-pixel bevels
constexpr double contentMargin = 4; // between the frame and the chart's content
constexpr double titleGap = 4;      // between a title and what it names
constexpr double tickLabelGap = 2;  // between a tick and its label
constexpr double majorTickLength = 4;
constexpr double minimumTickSpacing = 40;
constexpr double tickLabelSpacing = 8; // least room between neighbouring tick labels
const QColor inkColor = Qt::black;
const QColor wallEdgeColor(64, 64, 64);
const QColor gridColor(96, 96, 96);

double rounded(double value)
{
    return std::round(value);
}

} // namespace

// Where the parts of the chart go for the widget's current size and content.
struct Chart::Layout
{
    QRect inner;    // inside the frame
    QRectF content; // inside the frame and margin
    QRectF title;   // empty without a title
    QRectF plot;    // the plot's front face
    int depth = 0;  // the three-dimensional offset, up and right
    int positionCount = 0;
    AxisScale scale;
    QList<double> ticks;
    double tickLabelTop = 0;
    double leftLabelsRight = 0;
    QRectF bottomTitle; // empty without a bottom axis title
    double leftTitleLeft = 0;
};

Chart::Chart(QWidget *parent) : QWidget(parent), m_labelFontFamily(QStringLiteral("Arial"))
{
    static const bool accessibleFactoryInstalled = [] {
        QAccessible::installFactory(&ChartAccessible::create);
        return true;
    }();
    Q_UNUSED(accessibleFactoryInstalled);
    setFocusPolicy(Qt::StrongFocus);
}

Chart::~Chart() = default;

HorizontalBarSeries *Chart::addSeries(std::unique_ptr<HorizontalBarSeries> series)
{
    HorizontalBarSeries *added = series.get();
    if (!added)
        return nullptr;
    connect(added, &HorizontalBarSeries::changed, this, qOverload<>(&QWidget::update));
    m_series.push_back(std::move(series));
    update();
    return added;
}

HorizontalBarSeries *Chart::series(int index) const
{
    if (index < 0 || index >= seriesCount())
        return nullptr;
    return m_series[std::size_t(index)].get();
}

QRectF Chart::plotArea() const
{
    return layout().plot;
}

AxisScale Chart::valueAxisScale() const
{
    return layout().scale;
}

QRectF Chart::barRect(int seriesIndex, int pointIndex) const
{
    return barFront(layout(), seriesIndex, pointIndex);
}

QRectF Chart::markRect(int seriesIndex, int pointIndex) const
{
    return markBox(layout(), seriesIndex, pointIndex);
}

template<typename T>
void Chart::assign(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    update();
}

void Chart::setTitle(const QString &title)
{
    assign(m_title, title);
}
void Chart::setTitleColor(const QColor &color)
{
    assign(m_titleColor, color);
}
void Chart::setGradientTopColor(const QColor &color)
{
    assign(m_gradientTopColor, color);
}
void Chart::setGradientBottomColor(const QColor &color)
{
    assign(m_gradientBottomColor, color);
}
void Chart::setPanelColor(const QColor &color)
{
    assign(m_panelColor, color);
}
void Chart::setGradientVisible(bool visible)
{
    assign(m_gradientVisible, visible);
}
void Chart::setView3D(bool on)
{
    assign(m_view3D, on);
}
void Chart::setDepthPercent(int percent)
{
    assign(m_depthPercent, std::clamp(percent, 0, 100));
}
void Chart::setLegendVisible(bool visible)
{
    assign(m_legendVisible, visible);
}
void Chart::setBottomAxisTitle(const QString &title)
{
    assign(m_bottomAxisTitle, title);
}
void Chart::setLeftAxisTitle(const QString &title)
{
    assign(m_leftAxisTitle, title);
}
void Chart::setBottomAxisLabelsVisible(bool visible)
{
    assign(m_bottomAxisLabelsVisible, visible);
}
void Chart::setLeftAxisLabelsVisible(bool visible)
{
    assign(m_leftAxisLabelsVisible, visible);
}
void Chart::setLeftAxisMinorTickLength(int pixels)
{
    assign(m_leftAxisMinorTickLength, std::max(0, pixels));
}
void Chart::setLabelFontFamily(const QString &family)
{
    assign(m_labelFontFamily, family);
}
void Chart::setLabelFontPixelSize(int pixels)
{
    assign(m_labelFontPixelSize, std::max(1, pixels));
}
void Chart::setBackWallFilled(bool filled)
{
    assign(m_backWallFilled, filled);
}
void Chart::setBackWallColor(const QColor &color)
{
    assign(m_backWallColor, color);
}

QSize Chart::sizeHint() const
{
    return QSize(400, 250);
}

QSize Chart::minimumSizeHint() const
{
    return QSize(160, 120);
}

void Chart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawChart(painter);
    if (hasFocus())
        drawFocusFrame(painter);
}

int Chart::barCount() const
{
    int count = 0;
    for (const auto &series : m_series)
        count += series->count();
    return count;
}

Chart::BarIndex Chart::barAt(int index) const
{
    if (index < 0)
        return {};
    for (int position = positionCount() - 1; position >= 0; --position) {
        for (int seriesIndex = 0; seriesIndex < seriesCount(); ++seriesIndex) {
            if (position < m_series[std::size_t(seriesIndex)]->count() && index-- == 0)
                return {seriesIndex, position};
        }
    }
    return {};
}

QString Chart::barText(int index) const
{
    const BarIndex bar = barAt(index);
    if (bar.series < 0)
        return {};
    const HorizontalBarSeries &bars = *m_series[std::size_t(bar.series)];
    const QString value = QString::number(bars.value(bar.point));
    const QString label = bars.label(bar.point);
    return label.isEmpty() ? value : label + QLatin1Char(' ') + value;
}

int Chart::currentBar() const
{
    return std::min(m_currentBar, barCount() - 1);
}

void Chart::setCurrentBar(int index)
{
    if (barCount() == 0)
        return;
    const int clamped = std::clamp(index, 0, barCount() - 1);
    if (clamped == currentBar())
        return;
    m_currentBar = clamped;
    update();
    emit currentBarChanged(currentBar());
    if (hasFocus())
        tellCurrentBarFocused();
}

QRectF Chart::barArea(int index) const
{
    const BarIndex bar = barAt(index);
    if (bar.series < 0)
        return {};
    QRectF area = barRect(bar.series, bar.point);
    area.setWidth(std::max(area.width(), 4.0));
    const QRectF mark = markRect(bar.series, bar.point);
    return mark.isEmpty() ? area : area.united(mark);
}

// A little apart from the bar and its mark.
QRectF Chart::focusFrame() const
{
    const QRectF area = barArea(currentBar());
    return area.isEmpty() ? area : area.adjusted(-2, -2, 2, 2);
}

void Chart::drawFocusFrame(QPainter &painter) const
{
    const QRectF frame = focusFrame();
    if (frame.isEmpty())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = frame.toAlignedRect();
    option.backgroundColor = m_panelColor;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void Chart::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        setCurrentBar(currentBar() - 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        setCurrentBar(currentBar() + 1);
        break;
    case Qt::Key_Home:
        setCurrentBar(0);
        break;
    case Qt::Key_End:
        setCurrentBar(barCount() - 1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    // The keyboard is in use: styles that frame the focus only then do so now.
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    event->accept();
}

void Chart::mousePressEvent(QMouseEvent *event)
{
    for (int index = 0; index < barCount(); ++index) {
        if (barArea(index).contains(event->position())) {
            setCurrentBar(index);
            break;
        }
    }
    QWidget::mousePressEvent(event);
}

void Chart::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event); // redraws, and so frames the current bar
    // Qt tells screen readers of the chart's own focus once this handler is
    // done; the bar is told after that, so that they end on the bar.
    QMetaObject::invokeMethod(this, &Chart::tellCurrentBarFocused, Qt::QueuedConnection);
}

void Chart::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event); // redraws without the frame
}

// Screen readers follow the focus from the chart to its current bar and speak it.
void Chart::tellCurrentBarFocused()
{
    if (!QAccessible::isActive() || !hasFocus() || currentBar() < 0)
        return;
    QAccessibleEvent focused(this, QAccessible::Focus);
    focused.setChild(currentBar());
    QAccessible::updateAccessibility(&focused);
}

QFont Chart::labelFont() const
{
    QFont labels(m_labelFontFamily);
    labels.setPixelSize(m_labelFontPixelSize);
    return labels;
}

int Chart::positionCount() const
{
    int count = 0;
    for (const auto &series : m_series)
        count = std::max(count, series->count());
    return count;
}

// A mark names its point; a point without a label shows its value instead.
QString Chart::markText(const HorizontalBarSeries &series, int pointIndex) const
{
    const QString label = series.label(pointIndex);
    return label.isEmpty() ? QString::number(series.value(pointIndex)) : label;
}

QString Chart::positionLabel(int position) const
{
    for (const auto &series : m_series) {
        if (position < series->count())
            return series->label(position);
    }
    return {};
}

double Chart::leftAxisLabelWidth() const
{
    const QFontMetricsF metrics(labelFont());
    double widest = 0;
    for (int position = 0; position < positionCount(); ++position)
        widest = std::max(widest, metrics.horizontalAdvance(positionLabel(position)));
    return std::ceil(widest);
}

// The title, the axis titles and the labels take their room from the edges
// inwards; the plot gets the rest, less the depth of the three-dimensional view
// above and to its right.
Chart::Layout Chart::layout() const
{
    Layout l;
    l.inner = rect().adjusted(frameWidth, frameWidth, -frameWidth, -frameWidth);
    l.content = QRectF(l.inner).adjusted(contentMargin, contentMargin, -contentMargin, -contentMargin);
    const QRectF region = placeTitlesAndLabels(l);
    l.depth = m_view3D ? depthPixels(region.size(), m_depthPercent) : 0;
    l.plot = region.adjusted(0, l.depth, -l.depth, 0);
    l.positionCount = positionCount();
    placeValueScale(l);
    return l;
}

// Returns the room left for the plot and its depth, on whole pixels.
QRectF Chart::placeTitlesAndLabels(Layout &l) const
{
    const double titleHeight = QFontMetricsF(font()).height();
    const double labelHeight = QFontMetricsF(labelFont()).height();
    double top = l.content.top();
    double bottom = l.content.bottom();
    double left = l.content.left();
    if (!m_title.isEmpty()) {
        l.title = QRectF(l.content.left(), top, l.content.width(), titleHeight);
        top = l.title.bottom() + titleGap;
    }
    if (!m_bottomAxisTitle.isEmpty()) {
        l.bottomTitle = QRectF(l.content.left(), bottom - titleHeight, l.content.width(), titleHeight);
        bottom = l.bottomTitle.top() - titleGap;
    }
    if (m_bottomAxisLabelsVisible) {
        l.tickLabelTop = bottom - labelHeight;
        bottom = l.tickLabelTop - tickLabelGap;
    }
    bottom -= majorTickLength;
    if (!m_leftAxisTitle.isEmpty()) {
        l.leftTitleLeft = left;
        left += titleHeight + titleGap;
    }
    if (m_leftAxisLabelsVisible) {
        left += leftAxisLabelWidth();
        l.leftLabelsRight = left;
        left += tickLabelGap;
    }
    left += std::max<double>(majorTickLength, m_leftAxisMinorTickLength);
    return QRectF(QPointF(rounded(left), rounded(top)),
                  QPointF(rounded(std::max(left, l.content.right())), rounded(std::max(top, bottom))));
}

// The last tick label is centred on the plot's right edge and may need more room
// than the depth leaves beside it; the plot then gives up that room and the
// scale is fitted again.
void Chart::placeValueScale(Layout &l) const
{
    l.scale = fittingScale(l, scaledLargestValue(l));
    if (m_bottomAxisLabelsVisible) {
        const QString last = axisTickText(axisTickValues(l.scale).constLast(), l.scale.step);
        const double overhang = QFontMetricsF(labelFont()).horizontalAdvance(last) / 2
            - (l.content.right() - l.plot.right());
        if (overhang > 0 && l.plot.width() > overhang) {
            l.plot.setRight(l.plot.right() - std::ceil(overhang));
            l.scale = fittingScale(l, scaledLargestValue(l));
        }
    }
    l.ticks = axisTickValues(l.scale);
}

// The largest value the axis must reach so that every bar, and the mark beside
// it, fits inside the panel. A mark too wide to fit even beside a short bar is
// left to be clipped rather than squeeze its bar to nothing.
double Chart::scaledLargestValue(const Layout &l) const
{
    const QFontMetricsF metrics(labelFont());
    const double width = l.plot.width();
    const double room = l.content.right() - l.plot.left();
    double largest = 0;
    for (const auto &series : m_series) {
        for (int i = 0; i < series->count(); ++i) {
            const double value = series->value(i);
            if (!std::isfinite(value) || value <= 0)
                continue;
            double needed = value;
            if (series->marksVisible()) {
                const double extent = l.depth / 2.0 + series->markLineLength()
                    + markBoxSize(metrics, markText(*series, i)).width();
                const double span = std::min(room - extent, width);
                if (span >= width / 4)
                    needed = std::min(value * (width / span), std::numeric_limits<double>::max());
            }
            largest = std::max(largest, needed);
        }
    }
    return largest;
}

// The nice scale with as many steps as the plot's width allows without tick
// labels running into each other.
AxisScale Chart::fittingScale(const Layout &l, double largestValue) const
{
    const QFontMetricsF metrics(labelFont());
    const double width = l.plot.width();
    int steps = std::max(1, int(width / minimumTickSpacing));
    AxisScale scale = niceAxisScale(largestValue, steps);
    while (m_bottomAxisLabelsVisible && steps > 1) {
        const QList<double> ticks = axisTickValues(scale);
        double widest = 0;
        for (double tick : ticks)
            widest = std::max(widest, metrics.horizontalAdvance(axisTickText(tick, scale.step)));
        if (width * (scale.step / scale.maximum) >= widest + tickLabelSpacing)
            break;
        steps = std::min(steps - 1, int(ticks.size()) - 2);
        scale = niceAxisScale(largestValue, steps);
    }
    return scale;
}

// Divides before multiplying: near the top of the double range the product
// would overflow.
double Chart::tickX(const Layout &l, double tick) const
{
    return rounded(l.plot.left() + l.plot.width() * barLengthFraction(tick, l.scale.maximum));
}

QRectF Chart::barFront(const Layout &l, int seriesIndex, int pointIndex) const
{
    const HorizontalBarSeries *bars = series(seriesIndex);
    if (!bars || pointIndex < 0 || pointIndex >= bars->count())
        return {};
    const BarPlacement placement{pointIndex, l.positionCount, seriesIndex, seriesCount(), bars->barThicknessPercent()};
    return barFrontRect(l.plot, placement, barLengthFraction(bars->value(pointIndex), l.scale.maximum));
}

// A mark starts from the middle of its bar's end face.
QPointF Chart::markAnchor(const Layout &l, const QRectF &front) const
{
    return QPointF(rounded(front.right() + l.depth / 2.0), rounded(front.center().y() - l.depth / 2.0));
}

QRectF Chart::markBox(const Layout &l, int seriesIndex, int pointIndex) const
{
    const HorizontalBarSeries *bars = series(seriesIndex);
    const QRectF front = barFront(l, seriesIndex, pointIndex);
    if (!bars || !bars->marksVisible() || front.isNull())
        return {};
    const QPointF anchor = markAnchor(l, front);
    const QSizeF size = markBoxSize(QFontMetricsF(labelFont()), markText(*bars, pointIndex));
    return QRectF(QPointF(anchor.x() + bars->markLineLength(), rounded(anchor.y() - size.height() / 2)), size);
}

void Chart::drawChart(QPainter &painter) const
{
    const Layout l = layout();
    drawBackground(painter);
    drawBevelFrame(painter, rect(), palette());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(l.inner);
    drawTitle(painter, l);
    drawWalls(painter, l);
    drawBottomAxis(painter, l);
    drawLeftAxis(painter, l);
    drawAxisTitles(painter, l);
    drawBars(painter, l);
    drawMarks(painter, l);
    painter.restore();
}

void Chart::drawBackground(QPainter &painter) const
{
    if (!m_gradientVisible) {
        painter.fillRect(rect(), m_panelColor);
        return;
    }
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, m_gradientTopColor);
    gradient.setColorAt(1, m_gradientBottomColor);
    painter.fillRect(rect(), gradient);
}

void Chart::drawTitle(QPainter &painter, const Layout &l) const
{
    if (l.title.isEmpty())
        return;
    painter.setFont(font());
    painter.setPen(m_titleColor);
    const QString text = QFontMetricsF(font()).elidedText(m_title, Qt::ElideRight, l.title.width());
    painter.drawText(l.title, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
}

// The back wall, the floor and the left wall, with a grid line for every tick
// of the value axis on the back wall and the floor.
void Chart::drawWalls(QPainter &painter, const Layout &l) const
{
    const QRectF &plot = l.plot;
    const QPointF depth(l.depth, -l.depth);
    const QRectF back = plot.translated(depth);
    if (m_backWallFilled)
        painter.fillRect(back, m_backWallColor);
    painter.setPen(QPen(gridColor, 0, Qt::DotLine));
    for (double tick : l.ticks.mid(1)) {
        const double x = tickX(l, tick);
        painter.drawLine(QPointF(x + l.depth, back.top()), QPointF(x + l.depth, back.bottom()));
        if (l.depth > 0)
            painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom()) + depth);
    }
    painter.setPen(wallEdgeColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(back);
    if (l.depth > 0) {
        painter.drawLine(plot.topLeft(), back.topLeft());
        painter.drawLine(plot.bottomLeft(), back.bottomLeft());
        painter.drawLine(plot.bottomRight(), back.bottomRight());
    }
}

void Chart::drawBottomAxis(QPainter &painter, const Layout &l) const
{
    const QRectF &plot = l.plot;
    const QFontMetricsF metrics(labelFont());
    painter.setPen(inkColor);
    painter.setFont(labelFont());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (double tick : l.ticks) {
        const double x = tickX(l, tick);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + majorTickLength));
        if (!m_bottomAxisLabelsVisible)
            continue;
        const QString text = axisTickText(tick, l.scale.step);
        const double width = std::ceil(metrics.horizontalAdvance(text)) + 2;
        painter.drawText(QRectF(x - width / 2, l.tickLabelTop, width, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
    }
}

// Major ticks mark the positions, minor ticks the boundaries between them.
void Chart::drawLeftAxis(QPainter &painter, const Layout &l) const
{
    const QRectF &plot = l.plot;
    painter.setPen(inkColor);
    painter.setFont(labelFont());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    if (l.positionCount == 0)
        return;
    const double band = plot.height() / l.positionCount;
    for (int boundary = 0; boundary <= l.positionCount && m_leftAxisMinorTickLength > 0; ++boundary) {
        const double y = rounded(plot.bottom() - boundary * band);
        painter.drawLine(QPointF(plot.left() - m_leftAxisMinorTickLength, y), QPointF(plot.left(), y));
    }
    const double labelHeight = QFontMetricsF(labelFont()).height();
    for (int position = 0; position < l.positionCount; ++position) {
        const double y = rounded(positionCentreY(plot, position, l.positionCount));
        painter.drawLine(QPointF(plot.left() - majorTickLength, y), QPointF(plot.left(), y));
        if (m_leftAxisLabelsVisible) {
            const QRectF labelRect(QPointF(l.content.left(), y - labelHeight / 2),
                                   QPointF(l.leftLabelsRight, y + labelHeight / 2));
            painter.drawText(labelRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                             positionLabel(position));
        }
    }
}

void Chart::drawAxisTitles(QPainter &painter, const Layout &l) const
{
    const QFontMetricsF metrics(font());
    painter.setPen(inkColor);
    painter.setFont(font());
    if (!l.bottomTitle.isEmpty()) {
        const QString text = metrics.elidedText(m_bottomAxisTitle, Qt::ElideRight, l.bottomTitle.width());
        painter.drawText(l.bottomTitle, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    if (m_leftAxisTitle.isEmpty())
        return;
    // Turned a quarter to the left, so it reads from the bottom up, centred along
    // the axis.
    const QString text = metrics.elidedText(m_leftAxisTitle, Qt::ElideRight, l.plot.height());
    painter.save();
    painter.translate(l.leftTitleLeft, l.plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-l.plot.height() / 2, 0, l.plot.height(), metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

// Lower bars first: a bar's front face hides the top face of the bar below it.
void Chart::drawBars(QPainter &painter, const Layout &l) const
{
    for (int position = 0; position < l.positionCount; ++position) {
        for (int s = 0; s < seriesCount(); ++s) {
            const HorizontalBarSeries &bars = *m_series[std::size_t(s)];
            if (position < bars.count())
                drawBarBlock(painter, barFront(l, s, position), l.depth, bars.pointColor(position));
        }
    }
}

void Chart::drawMarks(QPainter &painter, const Layout &l) const
{
    painter.setFont(labelFont());
    for (int s = 0; s < seriesCount(); ++s) {
        const HorizontalBarSeries &bars = *m_series[std::size_t(s)];
        if (!bars.marksVisible())
            continue;
        for (int i = 0; i < bars.count(); ++i) {
            const QRectF box = markBox(l, s, i);
            drawMark(painter, markAnchor(l, barFront(l, s, i)), box, markText(bars, i), bars.markColor());
        }
    }
}
