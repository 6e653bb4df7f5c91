// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct TrainingState;

// One step of the score rule, chosen by the score before it: +3 below 60,
// +2 from 60 to 79, +1 from 80 on.
int scoreAfterAcceptedAnswer(int score);

// Applies one step to the state's score and returns the new score.
int RaiseScore(TrainingState &state);
