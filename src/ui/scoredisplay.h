// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "training/flashcolor.h"
#include "training/verdict.h"

#include <QColor>
#include <QString>

// How the score bar and its label look for a score.
struct ScoreBand
{
    QColor color;
    QString gradeWord; // begins with a space that separates it from the number
};

// Red " 差" below 60, fuchsia " 良好" from 60 to 80, lime " 优秀" above 80.
ScoreBand scoreBandFor(int score);

// The bar's width: score × 2.2, rounded down.
int scoreBarWidth(int score);

// The label: the score's digits followed by its grade word.
QString scoreLabelText(int score);

// The colour of a verdict's line in the answer record.
QColor verdictColor(Verdict verdict);

// The shade of a record panel flash: lime (0, 255, 0) or red (255, 0, 0).
QColor flashColorValue(FlashColor color);

// The first line the record panes show for scroll position `position` (a count of
// lines, 1-based): that line is then at the bottom of a view of `visibleLines`.
int firstVisibleLine(int position, int visibleLines);
