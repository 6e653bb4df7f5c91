// SPDX-License-Identifier: GPL-3.0-or-later
#include "svglinechart.h"

#include <algorithm>
#include <cmath>

namespace {

struct Frame
{
    double width;
    double height;
    double left;
    double right;
    double top;
    double bottom;
    int valueSteps;
    double fontSize;
};

constexpr Frame fullFrame{720, 320, 48, 16, 36, 56, 5, 12};
constexpr Frame smallFrame{320, 84, 28, 8, 6, 18, 2, 10};
// Digits and Latin letters are about this share of the font size wide.
constexpr double characterShare = 0.62;
const QString edgeColor = QStringLiteral("#404040");

QString number(double value)
{
    return QString::number(value, 'f', 1);
}

class Plot
{
public:
    Plot(const Frame &frame, const TimeAxis &axis, double maximum)
        : m_frame(frame),
          m_axis(axis),
          m_maximum(maximum) { }

    double xOf(double x) const
    {
        const double span = m_axis.to - m_axis.from;
        const double width = m_frame.width - m_frame.left - m_frame.right;
        return span <= 0 ? m_frame.left + width / 2 : m_frame.left + width * (x - m_axis.from) / span;
    }
    double yOf(double value) const
    {
        return m_frame.top + (m_frame.height - m_frame.top - m_frame.bottom) * (1.0 - value / m_maximum);
    }
    QString point(const QPointF &p) const { return number(xOf(p.x())) + QLatin1Char(',') + number(yOf(p.y())); }

    QString valueAxis() const
    {
        QString svg;
        for (int step = 0; step <= m_frame.valueSteps; ++step) {
            const double value = m_maximum * step / m_frame.valueSteps;
            const QString y = number(yOf(value));
            svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" stroke=\"#ddd\"/>"
                                  "<text x=\"%4\" y=\"%2\" text-anchor=\"end\" dy=\"4\">%5</text>")
                       .arg(number(m_frame.left), y, number(m_frame.width - m_frame.right), number(m_frame.left - 4),
                            QString::number(value, 'g', 6));
        }
        return svg;
    }

    QString timeAxis() const
    {
        QString svg;
        const double baseline = yOf(0);
        const double characterWidth = m_frame.fontSize * characterShare;
        for (const AxisTick &tick : m_axis.ticks) {
            const double x = xOf(tick.x);
            svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\" stroke=\"#999\"/>")
                       .arg(number(x), number(baseline), number(baseline + 4));
            const double start = labelStart(x, tick.label.size(), characterWidth, 0, m_frame.width);
            svg += QStringLiteral("<text x=\"%1\" y=\"%2\">%3</text>")
                       .arg(number(start), number(baseline + 4 + m_frame.fontSize), tick.label.toHtmlEscaped());
        }
        return svg;
    }

    QString line(const LineSeries &series) const
    {
        const double width = m_frame.fontSize / 6.0;
        QString svg;
        for (const QList<QPointF> &stretch : series.stretches) {
            if (stretch.size() == 1) {
                svg += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\" stroke=\"%5\"/>")
                           .arg(number(xOf(stretch.first().x())), number(yOf(stretch.first().y())), number(width * 1.6),
                                series.color, edgeColor);
                continue;
            }
            QStringList points;
            for (const QPointF &p : stretch)
                points.append(point(p));
            const QString joined = points.join(QLatin1Char(' '));
            svg += QStringLiteral("<polyline fill=\"none\" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\""
                                  " points=\"%3\"/>")
                       .arg(edgeColor, number(width + 1.5), joined);
            svg += QStringLiteral("<polyline fill=\"none\" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\""
                                  " points=\"%3\"/>")
                       .arg(series.color, number(width), joined);
        }
        return svg;
    }

private:
    Frame m_frame;
    TimeAxis m_axis;
    double m_maximum;
};

QString legend(const QList<LineSeries> &series, const Frame &frame)
{
    QString svg;
    double x = frame.left;
    const double y = frame.height - 12;
    for (const LineSeries &line : series) {
        svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"18\" height=\"6\" fill=\"%3\" stroke=\"%4\"/>"
                              "<text x=\"%5\" y=\"%6\">%7</text>")
                   .arg(number(x), number(y - 7), line.color, edgeColor, number(x + 24), number(y),
                        line.name.toHtmlEscaped());
        x += 150;
    }
    return svg;
}

} // namespace

double axisMaximum(double largest)
{
    if (!(largest > 1))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(largest)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= largest)
            return factor * power;
    }
    return 10 * power;
}

double largestValue(const QList<LineSeries> &series)
{
    double largest = 0;
    for (const LineSeries &line : series) {
        for (const QList<QPointF> &stretch : line.stretches) {
            for (const QPointF &point : stretch)
                largest = std::max(largest, point.y());
        }
    }
    return largest;
}

double labelStart(double x, qsizetype characters, double characterWidth, double low, double high)
{
    const double width = double(characters) * characterWidth;
    return std::max(low, std::min(x - width / 2, high - width));
}

QString lineChartSvg(const QString &title, const TimeAxis &axis, const QList<LineSeries> &series, ChartSize size,
                     double largest)
{
    const Frame &frame = size == ChartSize::Full ? fullFrame : smallFrame;
    const Plot plot(frame, axis, axisMaximum(largest > 0 ? largest : largestValue(series)));
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\" role=\"img\""
                                 " aria-label=\"%3\" font-size=\"%4\">")
                      .arg(number(frame.width), number(frame.height), title.toHtmlEscaped(), number(frame.fontSize));
    svg += QStringLiteral("<title>%1</title>").arg(title.toHtmlEscaped());
    if (size == ChartSize::Full) {
        svg += QStringLiteral("<text x=\"%1\" y=\"20\" font-size=\"15\" font-weight=\"bold\">%2</text>")
                   .arg(number(frame.left), title.toHtmlEscaped());
    }
    svg += plot.valueAxis() + plot.timeAxis();
    for (const LineSeries &one : series)
        svg += plot.line(one);
    if (size == ChartSize::Full)
        svg += legend(series, frame);
    return svg + QStringLiteral("</svg>");
}
