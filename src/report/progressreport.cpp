// SPDX-License-Identifier: GPL-3.0-or-later
#include "progressreport.h"

#include "progressperiods.h"
#include "pupil.h"
#include "reportparts.h"
#include "savedfile.h"
#include "svglinechart.h"

#include "evaluate/thinkingindices.h"
#include "store/database.h"
#include "store/historyrows.h"

#include <QDir>

namespace {

constexpr int mostTicks = 10;

QString indicesTable(const ThinkingIndices &indices)
{
    QString header;
    QString values;
    for (const ThinkingIndexKind &kind : thinkingIndexKinds()) {
        header += QStringLiteral("<th>%1</th>").arg(kind.name);
        values += QStringLiteral("<td id=\"%1\">%2</td>").arg(QLatin1StringView(kind.id)).arg(indices.*kind.member);
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
        + row(QStringLiteral("总得分"), QString::number(totals.score))
        + row(QStringLiteral("学到的新词"), QString::number(totals.learnedWords))
        + row(QStringLiteral("第一个问题"), totals.firstTime) + row(QStringLiteral("最后一个问题"), totals.lastTime)
        + row(QStringLiteral("有回答的周数"), QString::number(weeks))
        + row(QStringLiteral("有回答的月数"), QString::number(months)) + QStringLiteral("</table>");
}

QString periodChart(const QString &title, const QList<PeriodIndices> &periods, ProgressPeriod period)
{
    if (periods.isEmpty())
        return QStringLiteral("<p class=\"note\">还没有回答。</p>");
    const TimeAxis axis = periodAxis(periods.first().start, periods.last().start, period, mostTicks);
    return QStringLiteral("<figure>") + lineChartSvg(title, axis, indexSeries(periods, period))
        + QStringLiteral("</figure>");
}

QString periodTable(const QList<PeriodIndices> &periods)
{
    QString html = QStringLiteral("<table class=\"months\"><tr><th class=\"label\">月份</th><th>有回答的问题</th>");
    for (const ThinkingIndexKind &kind : thinkingIndexKinds())
        html += QStringLiteral("<th>%1</th>").arg(kind.name);
    html += QStringLiteral("</tr>");
    for (const PeriodIndices &one : periods) {
        html += QStringLiteral("<tr><td class=\"label\">%1</td><td>%2</td>")
                    .arg(one.start.toString(QStringLiteral("yyyy-MM")))
                    .arg(one.questions);
        for (const ThinkingIndexKind &kind : thinkingIndexKinds())
            html += QStringLiteral("<td>%1</td>").arg(one.indices.*kind.member);
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

    return pageStart(QStringLiteral("Zorvel 进步报告"), false)
        + QStringLiteral("<p class=\"note\">学生：<span id=\"pupil\">%1</span><br>数据文件：%2<br>生成时间：%3</p>")
              .arg(pupilNameOf(db).toHtmlEscaped(), QDir::toNativeSeparators(db.filePath()).toHtmlEscaped(),
                   madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        + QStringLiteral("<h2>全部记录的思考指数</h2>") + indicesTable(whole)
        + QStringLiteral("<p class=\"note\">与“评价”窗口显示的数值相同。</p>") + indexExplanations()
        + QStringLiteral("<h2>总计</h2>") + totalsTable(totals, weeks.size(), months.size())
        + QStringLiteral("<h2>每周的思考指数</h2>")
        + QStringLiteral("<p class=\"note\">横轴是日历时间：没有练习的周在图中是空白。</p>")
        + periodChart(QStringLiteral("每周的思考指数"), weeks, ProgressPeriod::Week)
        + QStringLiteral("<h2>每月的思考指数</h2>")
        + periodChart(QStringLiteral("每月的思考指数"), months, ProgressPeriod::Month) + periodTable(months)
        + pageEnd();
}

bool writeProgressReport(Database &db, const QString &path, QString &error)
{
    return saveWhole(path, progressReportHtml(db, QDateTime::currentDateTime()).toUtf8(), error);
}
