// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "flashcolor.h"
#include "questiontext.h"
#include "verdict.h"

#include <QString>

// What the training engine asks of the window that shows it. The main window
// implements it and chooses every colour; tests use a recording fake.
class TrainingView
{
public:
    virtual ~TrainingView() = default;

    // Adds one line to the answer record: the answer, its feedback text, and the
    // verdict that colours the feedback.
    virtual void AppendAnswerRecord(const QString &recordText, const QString &verdictText, Verdict verdict) = 0;
    // Draws the score bar and its label for the current question.
    virtual void ShowScore(int score) = 0;
    // Flashes the answer record panel in the given colour.
    virtual void StartFlash(FlashColor color) = 0;
    // Shows a new question in the question box.
    virtual void showQuestion(const QuestionText &question) = 0;
    // Empties the question box, the answer box, the record panes and the score.
    virtual void ResetTrainingView() = 0;
};
