#include "scoredisplay.h"

#include <algorithm>

ScoreBand ScoreBandFor(int score)
{
    if (score < 60)
        return {QColor(255, 0, 0), QStringLiteral(" 差")};
    if (score <= 80)
        return {QColor(255, 0, 255), QStringLiteral(" 良好")};
    return {QColor(0, 255, 0), QStringLiteral(" 优秀")};
}

int ScoreBarWidth(int score)
{
    return int(qint64(score) * 11 / 5);
}

QString ScoreLabelText(int score)
{
    return QString::number(score) + ScoreBandFor(score).gradeWord;
}

QColor VerdictColor(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Accepted:
        return QColor(0, 128, 0);
    case Verdict::Invalid:
        return QColor(128, 0, 0);
    case Verdict::Repeated:
        return QColor(0, 0, 255);
    case Verdict::Persistent:
    case Verdict::TooFast:
        break;
    }
    return QColor(255, 0, 0);
}

int FirstVisibleLine(int position, int visibleLines)
{
    return std::max(0, position - std::max(1, visibleLines));
}
