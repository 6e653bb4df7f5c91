// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Database;

// The averages over the whole question history that the thinking indices are
// made of. Each weighs a question's counts by its template's weight (wtlx.fsqz)
// and leaves out questions whose template is missing; a mean over no rows is 0.

// Weighted accepted answers, over the questions with at least one.
double meanWeightedAnswerCount(const Database &db);
// Weighted answers with words new to the history, over the same questions.
double meanWeightedNewWordCount(const Database &db);
// Weighted answers with reused words, over the questions with at least one.
double meanWeightedRepeatCount(const Database &db);
