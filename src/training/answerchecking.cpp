#include "answerchecking.h"

#include "gbk.h"
#include "randomsource.h"
#include "store/database.h"
#include "trainingstate.h"

#include <QSqlQuery>

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
        int previous = 1;
        for (auto it = givenAnswers.crbegin(); it != givenAnswers.crend(); ++it) {
            if (it->text.compare(answer, Qt::CaseInsensitive) == 0) {
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

Verdict JudgeAnswer(const Database &db, QList<GivenAnswer> &givenAnswers, int questionId, const QString &answer)
{
    const bool alreadyAccepted =
        db.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM hd JOIN ci ON hd.ciid = ci.id"
                                 " WHERE hd.wtid = ? AND ci.name = ?)"),
                  {questionId, answer})
            .toBool();
    const int number = countSubmission(givenAnswers, answer, alreadyAccepted);
    return verdictFor(IsChineseText(answer), number);
}

QString PickFeedbackPhrase(const Database &db, RandomSource &random, Verdict verdict)
{
    const int type = int(verdict);
    const int rows = db.scalar(QStringLiteral("SELECT count(*) FROM hdpj WHERE type = ?"), {type}).toInt();
    if (rows <= 0)
        return QString();
    const int position = rows == 1 ? 1 : random.RandomInRange(1, rows);
    return db.scalar(QStringLiteral("SELECT descr FROM hdpj WHERE type = ? ORDER BY id LIMIT 1 OFFSET ?"),
                     {type, position - 1})
        .toString();
}

int FindWordId(const Database &db, const QString &name)
{
    QSqlQuery query = db.execute(QStringLiteral("SELECT id FROM ci WHERE name = ? LIMIT 2"), {name});
    if (!query.next())
        return 0;
    const int id = query.value(0).toInt();
    return query.next() ? 0 : id;
}

int AddWord(const Database &db, int classId, const QString &name)
{
    return db.insert(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (?, ?)"), {classId, name});
}

bool IsWordUsedBefore(const Database &db, int wordId)
{
    return db.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM hd WHERE ciid = ?)"), {wordId}).toBool();
}

void LinkAnswer(const Database &db, int questionId, int wordId)
{
    db.insert(QStringLiteral("INSERT INTO hd (wtid, ciid) VALUES (?, ?)"), {questionId, wordId});
}
