#include "trainingstate.h"

#include "store/database.h"

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

bool QuestionHasAnswers(const Database &db, int questionId)
{
    return db.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM hd WHERE wtid = ?)"), {questionId}).toBool();
}

void DeleteQuestion(const Database &db, int questionId)
{
    db.execute(QStringLiteral("DELETE FROM wt WHERE id = ?"), {questionId});
}

void DiscardUnansweredQuestion(const Database &db, const TrainingState &state)
{
    if (state.questionId <= 0)
        return;
    if (!QuestionHasAnswers(db, state.questionId))
        DeleteQuestion(db, state.questionId);
}
