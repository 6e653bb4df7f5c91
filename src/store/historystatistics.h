// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sessioncache.h"

class Database;

// The averages over the whole question history that the thinking indices are
// made of. Each weighs a question's counts by its template's weight (wtlx.fsqz)
// and leaves out questions whose template is missing; a mean over no rows is 0.
//
// They come from sums that are read from the whole history once per connection
// and then kept in step with every commit that changes a question's counts, so
// that the evaluation does not read the history each time it opens.

// Weighted accepted answers, over the questions with at least one.
double meanWeightedAnswerCount(Database &db);
// Weighted answers with words new to the history, over the same questions.
double meanWeightedNewWordCount(Database &db);
// Weighted answers with reused words, over the questions with at least one.
double meanWeightedRepeatCount(Database &db);

// Reads the sums now, when they are not yet known, so that the first evaluation
// finds them ready.
void loadHistorySums(Database &db);

// The sums computed from the whole history, without the cache.
HistorySums computeHistorySums(Database &db);
// What one question adds to the sums; nothing when there is no such question.
HistorySums questionShare(Database &db, int questionId);
