// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainingstate.h"

#include "store/questionrecords.h"

void ResetTrainingState(TrainingState &state)
{
    state.questionId = 0;
    state.answerClassId = 0;
    state.wordId = 0;
    state.score = 0;
    state.answerCount = 0;
    state.repeatCount = 0;
    state.lastAnswerSecond = 0;
}

void DiscardUnansweredQuestion(Database &db, const TrainingState &state)
{
    if (state.questionId <= 0)
        return;
    if (!QuestionHasAnswers(db, state.questionId))
        DeleteQuestion(db, state.questionId);
}
