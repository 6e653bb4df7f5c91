// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportparts.h"

#include "calendarticks.h"

#include "evaluate/thinkingindexcolor.h"
#include "evaluate/thinkingindices.h"

namespace {

const QString baseStyle = QStringLiteral(
    "body{font-family:\"Noto Sans CJK SC\",\"Microsoft YaHei\",\"PingFang SC\",sans-serif;margin:2em auto;"
    "color:#222;line-height:1.5}"
    "h1{font-size:1.6em;margin-bottom:0}h2{font-size:1.2em;margin-top:1.6em;border-bottom:1px solid #ccc}"
    "table{border-collapse:collapse}th,td{border:1px solid #bbb;padding:.2em .7em;text-align:right}"
    "th{background:#f2f2f2}td.label,th.label{text-align:left}"
    ".indices td{font-size:1.5em;font-weight:bold;text-align:center;min-width:5em}"
    "svg{width:100%;height:auto;font-family:inherit}p.note{color:#555}"
    "dl.explained dt{font-weight:bold;margin-top:.4em}dl.explained dd{margin-left:1.6em}"
    ".swatch{display:inline-block;width:1.4em;height:.5em;margin-right:.4em;border:1px solid #404040;"
    "vertical-align:middle}"
    "@page{size:A4;margin:15mm}"
    "@media print{body{margin:0;max-width:none;font-size:10pt}h2{break-after:avoid}"
    "figure,table.indices,table.totals,dl.explained{break-inside:avoid}tr{break-inside:avoid}}");

} // namespace

QString reportStyle(bool wide)
{
    return baseStyle
        + (wide ? QStringLiteral("body{max-width:72em}table.class th{white-space:nowrap}"
                                 "td.chart{width:18em;padding:.1em .3em}")
                : QStringLiteral("body{max-width:52em}"));
}

QString pageStart(const QString &title, bool wide)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                          "<title>%1</title><style>%2</style></head><body><h1>%1</h1>")
        .arg(title.toHtmlEscaped(), reportStyle(wide));
}

QString pageEnd()
{
    return QStringLiteral("</body></html>\n");
}

QList<LineSeries> indexSeries(const QList<PeriodIndices> &periods, ProgressPeriod period)
{
    QList<LineSeries> series;
    for (const ThinkingIndexKind &kind : thinkingIndexKinds())
        series.append({kind.name, thinkingIndexColor(kind), periodStretches(periods, period, kind.member)});
    return series;
}

TimeAxis periodAxis(const QDate &first, const QDate &last, ProgressPeriod period, int mostTicks)
{
    return calendarAxis(first, nextPeriodStart(last, period).addDays(-1), mostTicks);
}

QString indexExplanations()
{
    QString html = QStringLiteral("<dl class=\"explained\">");
    for (const ThinkingIndexKind &kind : thinkingIndexKinds()) {
        html += QStringLiteral("<dt><span class=\"swatch\" style=\"background:%1\"></span>%2</dt><dd>%3</dd>")
                    .arg(thinkingIndexColor(kind), kind.name.toHtmlEscaped(), kind.explanation.toHtmlEscaped());
    }
    return html + QStringLiteral("</dl>");
}
