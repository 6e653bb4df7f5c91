// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoredisplay.h"

#include <algorithm>

ScoreBand scoreBandFor(int score)
{
    if (score < 60)
        return {QColor(255, 0, 0), QStringLiteral(" 差")};
    if (score <= 80)
        return {QColor(255, 0, 255), QStringLiteral(" 良好")};
    return {QColor(0, 255, 0), QStringLiteral(" 优秀")};
}

int scoreBarWidth(int score)
{
    return int(qint64(score) * 11 / 5);
}

QString scoreLabelText(int score)
{
    return QString::number(score) + scoreBandFor(score).gradeWord;
}

QColor verdictColor(Verdict verdict)
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

QColor flashColorValue(FlashColor color)
{
    return color == FlashColor::Lime ? QColor(0, 255, 0) : QColor(255, 0, 0);
}

int firstVisibleLine(int position, int visibleLines)
{
    return std::max(0, position - std::max(1, visibleLines));
}
