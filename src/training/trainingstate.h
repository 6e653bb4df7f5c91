// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "flashcolor.h"

#include <QList>
#include <QString>

class Database;

// One judged submission of the current question and its submission number.
struct GivenAnswer
{
    QString text;
    int count = 0;
};

// The state of the question being worked on. Lives beside the main window for the
// whole run and is touched on the GUI thread only.
struct TrainingState
{
    int questionId = 0;    // wt.id of the current question; 0 while no question is active
    int answerClassId = 0; // word class under which new words of accepted answers are filed
    int wordId = 0;        // ci.id of the latest accepted answer's word
    int score = 0;
    int answerCount = 0;                     // accepted answers to the current question
    int repeatCount = 0;                     // accepted answers whose word had been accepted before
    QList<GivenAnswer> givenAnswers;         // every judged submission of the current question
    qint64 lastAnswerSecond = 0;             // monotonic stamp of the last answer past the too-fast rule; 0: none
    FlashColor flashColor = FlashColor::Red; // colour of the next record panel flash
};

// Zeroes every field but the answer list and the flash colour.
void ResetTrainingState(TrainingState &state);

// Deletes the current question's row when no answer to it was accepted.
void DiscardUnansweredQuestion(Database &db, const TrainingState &state);
