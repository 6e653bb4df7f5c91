// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "verdict.h"

#include <QList>
#include <QString>

class Database;
class RandomSource;
struct GivenAnswer;

// The answer box text without leading and trailing characters of code 0x20 or
// below (blanks and control characters); a full-width blank stays.
QString trimAnswer(const QString &text);

// True when an answer at `now` follows the last answer that passed the rule by
// 2 seconds or less. A stamp of 0 means no answer yet.
bool isTooFast(qint64 lastAnswerSecond, qint64 now);

// The submission number of `answer`: 1 unless the question already holds it as an
// accepted answer, then one more than its latest entry in the list (compared
// through foldCase()). Appends the new entry to the list.
int countSubmission(QList<GivenAnswer> &givenAnswers, const QString &answer, bool alreadyAccepted);

// The verdict for an answer with the given submission number.
Verdict verdictFor(bool chineseText, int submissionNumber);

// Judges `answer` for the question and records the submission in the list. The
// question holds the answer when it holds any of its case variants.
Verdict JudgeAnswer(Database &db, QList<GivenAnswer> &givenAnswers, int questionId, const QString &answer);

// A random feedback phrase for the verdict, or empty text when there is none.
QString PickFeedbackPhrase(Database &db, RandomSource &random, Verdict verdict);
