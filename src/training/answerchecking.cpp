// SPDX-License-Identifier: GPL-3.0-or-later
#include "answerchecking.h"

#include "casefolding.h"
#include "gbk.h"
#include "randomsource.h"
#include "store/questionrecords.h"
#include "store/templatesandphrases.h"
#include "trainingstate.h"

QString trimAnswer(const QString &text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first).unicode() <= 0x20)
        ++first;
    while (end > first && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(first, end - first);
}

bool isTooFast(qint64 lastAnswerSecond, qint64 now)
{
    return lastAnswerSecond != 0 && now - lastAnswerSecond <= 2;
}

int countSubmission(QList<GivenAnswer> &givenAnswers, const QString &answer, bool alreadyAccepted)
{
    int number = 1;
    if (alreadyAccepted) {
        // The question holds the answer, so it was submitted before; its latest entry counts.
        const QString folded = foldCase(answer);
        int previous = 1;
        for (auto it = givenAnswers.crbegin(); it != givenAnswers.crend(); ++it) {
            if (foldCase(it->text) == folded) {
                previous = it->count;
                break;
            }
        }
        number = previous + 1;
    }
    givenAnswers.append({answer, number});
    return number;
}

Verdict verdictFor(bool chineseText, int submissionNumber)
{
    if (!chineseText)
        return submissionNumber < 2 ? Verdict::Invalid : Verdict::Persistent;
    if (submissionNumber <= 1)
        return Verdict::Accepted;
    return submissionNumber == 2 ? Verdict::Repeated : Verdict::Persistent;
}

Verdict JudgeAnswer(Database &db, QList<GivenAnswer> &givenAnswers, int questionId, const QString &answer)
{
    const bool alreadyAccepted = questionHoldsWordNamed(db, questionId, caseVariants(answer));
    const int number = countSubmission(givenAnswers, answer, alreadyAccepted);
    return verdictFor(IsChineseText(answer), number);
}

QString PickFeedbackPhrase(Database &db, RandomSource &random, Verdict verdict)
{
    const int type = int(verdict);
    const int position = drawRowPosition(random, feedbackPhraseCount(db, type));
    return position > 0 ? feedbackPhraseAt(db, type, position) : QString();
}
