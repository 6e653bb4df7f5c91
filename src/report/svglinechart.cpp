// SPDX-License-Identifier: GPL-3.0-or-later
#include "svglinechart.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double chartWidth = 720;
constexpr double chartHeight = 300;
constexpr double left = 48;
constexpr double right = 12;
constexpr double top = 36;
constexpr double bottom = 48;
constexpr int valueSteps = 5;
constexpr int mostLabels = 12;

QString number(double value)
{
    return QString::number(value, 'f', 1);
}

double largestValue(const QList<LineSeries> &series)
{
    double largest = 0;
    for (const LineSeries &line : series) {
        for (double value : line.values)
            largest = std::max(largest, value);
    }
    return largest;
}

double xOf(qsizetype index, qsizetype count)
{
    const double width = chartWidth - left - right;
    return count <= 1 ? left + width / 2 : left + width * double(index) / double(count - 1);
}

double yOf(double value, double maximum)
{
    return top + (chartHeight - top - bottom) * (1.0 - value / maximum);
}

QString valueAxis(double maximum)
{
    QString svg;
    for (int step = 0; step <= valueSteps; ++step) {
        const double value = maximum * step / valueSteps;
        const QString y = number(yOf(value, maximum));
        svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" stroke=\"#ddd\"/>"
                              "<text x=\"%4\" y=\"%2\" text-anchor=\"end\" dy=\"4\">%5</text>")
                   .arg(number(left), y, number(chartWidth - right), number(left - 6), QString::number(value, 'g', 6));
    }
    return svg;
}

QString labelAxis(const QStringList &labels)
{
    QString svg;
    const qsizetype every = std::max<qsizetype>(1, (labels.size() + mostLabels - 1) / mostLabels);
    for (qsizetype i = 0; i < labels.size(); i += every) {
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"middle\">%3</text>")
                   .arg(number(xOf(i, labels.size())), number(chartHeight - bottom + 16), labels.at(i).toHtmlEscaped());
    }
    return svg;
}

QString line(const LineSeries &series, double maximum)
{
    QStringList points;
    for (qsizetype i = 0; i < series.values.size(); ++i)
        points.append(number(xOf(i, series.values.size())) + QLatin1Char(',')
                      + number(yOf(series.values.at(i), maximum)));
    const QString &color = series.color;
    QString svg = QStringLiteral("<polyline fill=\"none\" stroke=\"%1\" stroke-width=\"1.5\" points=\"%2\"/>")
                      .arg(color, points.join(QLatin1Char(' ')));
    if (series.values.size() == 1) {
        svg += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"3\" fill=\"%3\"/>")
                   .arg(number(xOf(0, 1)), number(yOf(series.values.first(), maximum)), color);
    }
    return svg;
}

QString legend(const QList<LineSeries> &series)
{
    QString svg;
    double x = left;
    for (const LineSeries &line : series) {
        svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"14\" height=\"4\" fill=\"%3\"/>"
                              "<text x=\"%4\" y=\"%5\">%6</text>")
                   .arg(number(x), number(chartHeight - 16), line.color, number(x + 18), number(chartHeight - 10),
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

QString lineChartSvg(const QString &title, const QStringList &labels, const QList<LineSeries> &series)
{
    const double maximum = axisMaximum(largestValue(series));
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %2\" role=\"img\""
                                 " aria-label=\"%3\" font-size=\"12\">")
                      .arg(number(chartWidth), number(chartHeight), title.toHtmlEscaped());
    svg += QStringLiteral("<title>%1</title>").arg(title.toHtmlEscaped());
    svg += QStringLiteral("<text x=\"%1\" y=\"20\" font-size=\"15\" font-weight=\"bold\">%2</text>")
               .arg(number(left), title.toHtmlEscaped());
    svg += valueAxis(maximum) + labelAxis(labels);
    for (const LineSeries &one : series)
        svg += line(one, maximum);
    return svg + legend(series) + QStringLiteral("</svg>");
}
