// SPDX-License-Identifier: GPL-3.0-or-later
#include "progressreport.h"

#include "progressperiods.h"
#include "savedfile.h"
#include "svglinechart.h"

#include "evaluate/thinkingindices.h"
#include "store/database.h"
#include "store/historyrows.h"

#include <QDir>

namespace {

struct IndexColumn
{
    const char *id;
    QString name;
    QString color;
    int ThinkingIndices::*member;
};

// In the order of the evaluation chart, from its top bar down.
const QList<IndexColumn> indexColumns{
    {"heatIndex", QStringLiteral("头脑发热值"), QStringLiteral("#d03030"), &ThinkingIndices::heatIndex},
    {"radioIndex", QStringLiteral("思维发散值"), QStringLiteral("#2060c0"), &ThinkingIndices::radioIndex},
    {"newWordIndex", QStringLiteral("联想发现值"), QStringLiteral("#209040"), &ThinkingIndices::newWordIndex},
    {"oldWordIndex", QStringLiteral("思考守旧值"), QStringLiteral("#c08000"), &ThinkingIndices::oldWordIndex},
};

const QString style = QStringLiteral(
    "body{font-family:\"Noto Sans CJK SC\",\"Microsoft YaHei\",\"PingFang SC\",sans-serif;margin:2em auto;"
    "max-width:52em;color:#222;line-height:1.5}"
    "h1{font-size:1.6em;margin-bottom:0}h2{font-size:1.2em;margin-top:1.6em;border-bottom:1px solid #ccc}"
    "table{border-collapse:collapse}th,td{border:1px solid #bbb;padding:.2em .7em;text-align:right}"
    "th{background:#f2f2f2}td.label,th.label{text-align:left}"
    ".indices td{font-size:1.5em;font-weight:bold;text-align:center;min-width:5em}"
    "svg{width:100%;height:auto;font-family:inherit}p.note{color:#555}"
    "@page{size:A4;margin:15mm}"
    "@media print{body{margin:0;max-width:none;font-size:10pt}h2{break-after:avoid}"
    "figure,table.indices,table.totals{break-inside:avoid}tr{break-inside:avoid}}");

QString indicesTable(const ThinkingIndices &indices)
{
    QString header;
    QString values;
    for (const IndexColumn &column : indexColumns) {
        header += QStringLiteral("<th>%1</th>").arg(column.name);
        values += QStringLiteral("<td id=\"%1\">%2</td>").arg(QLatin1StringView(column.id)).arg(indices.*column.member);
    }
    return QStringLiteral("<table class=\"indices\"><tr>%1</tr><tr>%2</tr></table>").arg(header, values);
}

QString row(const QString &name, const QString &value)
{
    return QStringLiteral("<tr><th class=\"label\">%1</th><td>%2</td></tr>").arg(name, value.toHtmlEscaped());
}

QString totalsTable(const HistoryTotals &totals, qsizetype weeks, qsizetype months)
{
    return QStringLiteral("<table class=\"totals\">") + row(QStringLiteral("问题"), QString::number(totals.questions))
        + row(QStringLiteral("有回答的问题"), QString::number(totals.answeredQuestions))
        + row(QStringLiteral("回答"), QString::number(totals.answers))
        + row(QStringLiteral("学到的新词"), QString::number(totals.learnedWords))
        + row(QStringLiteral("第一个问题"), totals.firstTime) + row(QStringLiteral("最后一个问题"), totals.lastTime)
        + row(QStringLiteral("有回答的周数"), QString::number(weeks))
        + row(QStringLiteral("有回答的月数"), QString::number(months)) + QStringLiteral("</table>");
}

QString periodLabel(const QDate &start, ProgressPeriod period)
{
    return start.toString(period == ProgressPeriod::Month ? QStringLiteral("yyyy-MM") : QStringLiteral("yyyy-MM-dd"));
}

QString periodChart(const QString &title, const QList<PeriodIndices> &periods, ProgressPeriod period)
{
    if (periods.isEmpty())
        return QStringLiteral("<p class=\"note\">还没有回答。</p>");
    QStringList labels;
    QList<LineSeries> series;
    for (const IndexColumn &column : indexColumns)
        series.append({column.name, column.color, {}});
    for (const PeriodIndices &one : periods) {
        labels.append(periodLabel(one.start, period));
        for (qsizetype i = 0; i < indexColumns.size(); ++i)
            series[i].values.append(double(one.indices.*indexColumns.at(i).member));
    }
    return QStringLiteral("<figure>") + lineChartSvg(title, labels, series) + QStringLiteral("</figure>");
}

QString periodTable(const QList<PeriodIndices> &periods)
{
    QString html = QStringLiteral("<table class=\"months\"><tr><th class=\"label\">月份</th><th>有回答的问题</th>");
    for (const IndexColumn &column : indexColumns)
        html += QStringLiteral("<th>%1</th>").arg(column.name);
    html += QStringLiteral("</tr>");
    for (const PeriodIndices &one : periods) {
        html += QStringLiteral("<tr><td class=\"label\">%1</td><td>%2</td>")
                    .arg(periodLabel(one.start, ProgressPeriod::Month))
                    .arg(one.questions);
        for (const IndexColumn &column : indexColumns)
            html += QStringLiteral("<td>%1</td>").arg(one.indices.*column.member);
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace

QString progressReportHtml(Database &db, const QDateTime &madeAt)
{
    ThinkingIndices whole;
    ComputeThinkingIndices(db, whole);
    const HistoryTotals totals = historyTotals(db);
    const QList<WeightedQuestion> questions = weightedAnsweredQuestions(db);
    const QList<PeriodIndices> weeks = indicesByPeriod(questions, ProgressPeriod::Week);
    const QList<PeriodIndices> months = indicesByPeriod(questions, ProgressPeriod::Month);

    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                          "<title>Zorvel 进步报告</title><style>%1</style></head><body>")
               .arg(style)
        + QStringLiteral("<h1>Zorvel 进步报告</h1><p class=\"note\">数据文件：%1<br>生成时间：%2</p>")
              .arg(QDir::toNativeSeparators(db.filePath()).toHtmlEscaped(),
                   madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        + QStringLiteral("<h2>全部记录的思考指数</h2>") + indicesTable(whole)
        + QStringLiteral("<p class=\"note\">与“评价”窗口显示的数值相同。</p>") + QStringLiteral("<h2>总计</h2>")
        + totalsTable(totals, weeks.size(), months.size()) + QStringLiteral("<h2>每周的思考指数</h2>")
        + periodChart(QStringLiteral("每周的思考指数"), weeks, ProgressPeriod::Week)
        + QStringLiteral("<h2>每月的思考指数</h2>")
        + periodChart(QStringLiteral("每月的思考指数"), months, ProgressPeriod::Month) + periodTable(months)
        + QStringLiteral("</body></html>\n");
}

bool writeProgressReport(Database &db, const QString &path, QString &error)
{
    return saveWhole(path, progressReportHtml(db, QDateTime::currentDateTime()).toUtf8(), error);
}
