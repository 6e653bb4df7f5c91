// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class Database;

// The history read row by row, for the export and the progress report.

// One accepted answer with its question.
struct AcceptedAnswerRow
{
    int questionId = 0;
    QString time;         // the question's, "yyyy-MM-dd HH:mm:ss" in local time
    QString templateText; // with "#" where the word goes
    QString word;         // the question's word
    QString wordClass;    // the class the question's word was drawn from
    QString answer;       // the accepted answer's word
    int score = 0;        // the question's score
};

// Hands every accepted answer to `take` in the order the answers were given
// (which keeps a question's answers together), one row at a time, in one scan
// of the answers without sorting them.
void forEachAcceptedAnswer(Database &db, const std::function<void(const AcceptedAnswerRow &)> &take);

// One question's counts weighed by its template's weight, each exactly as the
// evaluation's averages take it: empty where SQL's product is NULL.
struct WeightedQuestion
{
    QString time;
    bool answered = false; // answer_count > 0
    bool reused = false;   // repeate_count > 0
    std::optional<qint64> weightedAnswers;
    std::optional<qint64> weightedNewWords;
    std::optional<qint64> weightedRepeats;
};

// Every question with a template that has accepted or reused answers, oldest first.
QList<WeightedQuestion> weightedAnsweredQuestions(Database &db);

// The history's totals.
struct HistoryTotals
{
    int questions = 0;         // asked and kept
    int answeredQuestions = 0; // with at least one accepted answer
    int answers = 0;           // accepted
    qint64 score = 0;          // the scores of the questions with accepted answers, summed
    int learnedWords = 0;      // words the dictionary learned from answers
    QString firstTime;         // of the first and last question; empty without one
    QString lastTime;
};

HistoryTotals historyTotals(Database &db);
