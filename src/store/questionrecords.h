// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Database;

// The record of the questions asked (wt) and of their accepted answers (hd).

// Appends a question's row, stamped with the current local time, and returns its id.
int InsertQuestionRecord(Database &db, int templateId, const QString &word, const QString &keyword);
// Writes the question's score and counts into its row.
void SaveQuestionStats(Database &db, int questionId, int score, int answerCount, int repeatCount);
// Whether any answer to the question was accepted.
bool QuestionHasAnswers(Database &db, int questionId);
void DeleteQuestion(Database &db, int questionId);
// Deletes every question without an accepted answer, as leaving each would have:
// those a crash or a failed close left behind.
void deleteQuestionsLeftUnanswered(Database &db);

// Links an accepted answer's word to its question.
void LinkAnswer(Database &db, int questionId, int wordId);
// Whether the word was accepted as an answer before, to any question.
bool IsWordUsedBefore(Database &db, int wordId);
// Whether the question already holds an accepted answer filed under a word of any
// of the names (the spellings of one answer).
bool questionHoldsWordNamed(Database &db, int questionId, const QStringList &names);
