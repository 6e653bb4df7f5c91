// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "training/trainingview.h"

#include <QList>
#include <QStringList>

// A training view that remembers what the engine asked it to show.
class RecordingView final : public TrainingView
{
public:
    struct Record
    {
        QString answer;
        QString feedback;
        Verdict verdict;
    };

    void AppendAnswerRecord(const QString &recordText, const QString &verdictText, Verdict verdict) override
    {
        records.append({recordText, verdictText, verdict});
        calls.append(QStringLiteral("record"));
    }
    void ShowScore(int score) override
    {
        scores.append(score);
        calls.append(QStringLiteral("score"));
    }
    void StartFlash(FlashColor color) override
    {
        flashes.append(color);
        calls.append(QStringLiteral("flash"));
    }
    void showQuestion(const QuestionText &question) override
    {
        questions.append(question);
        calls.append(QStringLiteral("question"));
    }
    void ResetTrainingView() override
    {
        ++resets;
        calls.append(QStringLiteral("reset"));
    }

    QList<Record> records;
    QList<int> scores;
    QList<FlashColor> flashes;
    QList<QuestionText> questions;
    int resets = 0;
    QStringList calls;
};
