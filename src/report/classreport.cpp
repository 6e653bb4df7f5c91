// SPDX-License-Identifier: GPL-3.0-or-later
#include "classreport.h"

#include "pupil.h"
#include "reportparts.h"
#include "savedfile.h"
#include "svglinechart.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "store/location.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

constexpr int mostTicks = 3;

QString cell(const QString &text, const QString &cssClass = QString())
{
    if (cssClass.isEmpty())
        return QStringLiteral("<td>%1</td>").arg(text.toHtmlEscaped());
    return QStringLiteral("<td class=\"%1\">%2</td>").arg(cssClass, text.toHtmlEscaped());
}

QString header()
{
    QString html = QStringLiteral("<tr><th class=\"label\">学生</th><th>回答</th><th>总得分</th>"
                                  "<th class=\"label\">练习时间</th>");
    for (const ThinkingIndexKind &kind : thinkingIndexKinds())
        html += QStringLiteral("<th>%1</th>").arg(kind.name);
    return html + QStringLiteral("<th>每周的思考指数</th></tr>");
}

QString pupilCell(const PupilSummary &pupil)
{
    return QStringLiteral("<td class=\"label\"><b>%1</b><br><small>%2</small></td>")
        .arg(pupil.pupil.toHtmlEscaped(), QDir::toNativeSeparators(pupil.dataPath).toHtmlEscaped());
}

// The charts share their time axis and their value axis, so that they can be
// compared.
struct SharedAxes
{
    TimeAxis time;
    double largest = 0;
};

QString pupilRow(const PupilSummary &pupil, const std::optional<SharedAxes> &axes)
{
    if (!pupil.problem.isEmpty()) {
        return QStringLiteral("<tr>") + pupilCell(pupil)
            + QStringLiteral("<td class=\"label\" colspan=\"%1\">无法读取：%2</td></tr>")
                  .arg(thinkingIndexKinds().size() + 4)
                  .arg(pupil.problem.toHtmlEscaped());
    }
    const HistoryTotals &totals = pupil.totals;
    QString html = QStringLiteral("<tr>") + pupilCell(pupil) + cell(QString::number(totals.answers))
        + cell(QString::number(totals.score))
        + cell(totals.firstTime.isEmpty()
                   ? QString()
                   : totals.firstTime.left(10) + QStringLiteral(" 至 ") + totals.lastTime.left(10),
               QStringLiteral("label"));
    for (const ThinkingIndexKind &kind : thinkingIndexKinds())
        html += cell(QString::number(pupil.indices.*kind.member));
    if (pupil.weeks.isEmpty() || !axes) {
        html += cell(QStringLiteral("还没有回答"), QStringLiteral("chart"));
    } else {
        html += QStringLiteral("<td class=\"chart\">")
            + lineChartSvg(pupil.pupil + QStringLiteral("：每周的思考指数"), axes->time,
                           indexSeries(pupil.weeks, ProgressPeriod::Week), ChartSize::Small, axes->largest)
            + QStringLiteral("</td>");
    }
    return html + QStringLiteral("</tr>");
}

std::optional<SharedAxes> sharedAxes(const QList<PupilSummary> &pupils)
{
    QDate first;
    QDate last;
    double largest = 0;
    for (const PupilSummary &pupil : pupils) {
        if (pupil.weeks.isEmpty())
            continue;
        if (!first.isValid() || pupil.weeks.first().start < first)
            first = pupil.weeks.first().start;
        if (!last.isValid() || pupil.weeks.last().start > last)
            last = pupil.weeks.last().start;
        largest = std::max(largest, largestValue(indexSeries(pupil.weeks, ProgressPeriod::Week)));
    }
    if (!first.isValid())
        return std::nullopt;
    return SharedAxes{periodAxis(first, last, ProgressPeriod::Week, mostTicks), largest};
}

} // namespace

PupilSummary readPupilSummary(const QString &dataPath)
{
    PupilSummary summary;
    summary.dataPath = QFileInfo(dataPath).absoluteFilePath();
    summary.pupil = QFileInfo(dataPath).completeBaseName();
    if (!QFileInfo(dataPath).isFile()) {
        summary.problem = QStringLiteral("文件不存在。");
        return summary;
    }
    try {
        Database db;
        db.open(BuildConnectionString(summary.dataPath));
        if (db.access() == Database::Damaged) {
            summary.problem = QStringLiteral("文件已损坏。");
            return summary;
        }
        summary.pupil = pupilNameOf(db);
        ComputeThinkingIndices(db, summary.indices);
        summary.totals = historyTotals(db);
        summary.weeks = indicesByPeriod(weightedAnsweredQuestions(db), ProgressPeriod::Week);
    } catch (const DatabaseError &error) {
        summary.problem = error.text();
    }
    return summary;
}

QString classReportHtml(const QList<PupilSummary> &pupils, const QDateTime &madeAt)
{
    const std::optional<SharedAxes> axes = sharedAxes(pupils);
    QString rows;
    for (const PupilSummary &pupil : pupils)
        rows += pupilRow(pupil, axes);
    return pageStart(QStringLiteral("Zorvel 班级概览"), true)
        + QStringLiteral("<p class=\"note\">%1 名学生<br>生成时间：%2</p>")
              .arg(pupils.size())
              .arg(madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        + QStringLiteral("<table class=\"class\">") + header() + rows + QStringLiteral("</table>")
        + QStringLiteral(
               "<p class=\"note\">每个小图的横轴是同一段日历时间，纵轴的刻度也相同：没有练习的周在图中是空白。</p>")
        + QStringLiteral("<h2>四个指数的含义</h2>") + indexExplanations() + pageEnd();
}

bool writeClassReport(const QStringList &dataPaths, const QString &path, QString &error, QStringList &unreadable)
{
    QList<PupilSummary> pupils;
    unreadable.clear();
    for (const QString &dataPath : dataPaths) {
        pupils.append(readPupilSummary(dataPath));
        if (!pupils.last().problem.isEmpty())
            unreadable.append(QDir::toNativeSeparators(dataPath) + QStringLiteral(": ") + pupils.last().problem);
    }
    return saveWhole(path, classReportHtml(pupils, QDateTime::currentDateTime()).toUtf8(), error);
}
