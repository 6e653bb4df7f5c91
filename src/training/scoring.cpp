// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring.h"

#include "trainingstate.h"

int scoreAfterAcceptedAnswer(int score)
{
    if (score < 60)
        return score + 3;
    if (score < 80)
        return score + 2;
    return score + 1;
}

int RaiseScore(TrainingState &state)
{
    state.score = scoreAfterAcceptedAnswer(state.score);
    return state.score;
}
