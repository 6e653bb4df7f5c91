// SPDX-License-Identifier: GPL-3.0-or-later
#include "trainingengine.h"

#include "answerchecking.h"
#include "casefolding.h"
#include "clock.h"
#include "historybackups.h"
#include "historyrestore.h"
#include "questiongeneration.h"
#include "randomsource.h"
#include "scoring.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/dictionary.h"
#include "store/location.h"
#include "store/questionrecords.h"
#include "store/schema.h"
#include "store/storefailure.h"
#include "store/transaction.h"
#include "trainingview.h"

#include <QDateTime>

namespace {

// Shows nothing: the view of an engine that has not been given one.
class NoView final : public TrainingView
{
public:
    void AppendAnswerRecord(const QString &, const QString &, Verdict) override { }
    void ShowScore(int) override { }
    void StartFlash(FlashColor) override { }
    void showQuestion(const QuestionText &) override { }
    void ResetTrainingView() override { }
};

NoView noView;

// Puts the state back as it was when a step of a command fails, so that memory
// never runs ahead of (or behind) the store.
class StateRestorer
{
public:
    explicit StateRestorer(TrainingState &state) : m_state(state), m_saved(state) { }
    ~StateRestorer()
    {
        if (!m_kept)
            m_state = m_saved;
    }
    void keep() { m_kept = true; }

private:
    TrainingState &m_state;
    const TrainingState m_saved;
    bool m_kept = false;
};

} // namespace

TrainingEngine::TrainingEngine(Database &db, const QString &dataFile, const Clock &clock, RandomSource &random)
    : m_db(db),
      m_dataFile(dataFile),
      m_view(&noView),
      m_clock(clock),
      m_random(random)
{
}

TrainingEngine::TrainingEngine(Database &db, const Clock &clock, RandomSource &random)
    : TrainingEngine(db, databaseFileLocation(), clock, random)
{
}

void TrainingEngine::setView(TrainingView &view)
{
    m_view = &view;
}

QList<StartupNotice> TrainingEngine::start()
{
    QList<StartupNotice> notices = OpenDatabase(m_db, m_dataFile);
    m_openingPending = m_db.isWritable();
    m_state.givenAnswers.clear();
    ResetTrainingState(m_state);
    return notices;
}

void TrainingEngine::checkHistoryInBackground(std::function<void()> finished)
{
    m_db.startIntegrityCheck(std::move(finished));
}

// The opening is finished once, before the first question of the session: the
// store's tidying after the check may delete any question without an answer.
QList<StartupNotice> TrainingEngine::historyChecked()
{
    if (m_openingPending) {
        m_openingPending = false;
        return finishOpening(m_db);
    }
    if (m_db.settleIntegrityCheck())
        return {{StartupNotice::Warning, StoreFailure::damagedNotice(m_db.filePath())}};
    return {};
}

void TrainingEngine::finish()
{
    struct CloseAtEnd
    {
        TrainingEngine &engine;
        ~CloseAtEnd()
        {
            engine.m_state.givenAnswers.clear();
            engine.m_db.close();
        }
    } closeAtEnd{*this};
    if (m_db.isWritable())
        DiscardUnansweredQuestion(m_db, m_state);
}

void TrainingEngine::readAhead()
{
    try {
        if (m_db.isOpen())
            loadWordIds(m_db);
    } catch (const DatabaseError &) {
    }
}

void TrainingEngine::startNewQuestion()
{
    if (m_openingPending)
        historyChecked();
    int questionId = 0;
    QuestionTemplateRow questionTemplate;
    QString word;
    {
        Transaction transaction(m_db);
        DiscardUnansweredQuestion(m_db, m_state);
        questionTemplate = drawQuestionTemplate(m_db, m_random);
        word = PickRandomWord(m_db, m_random, questionTemplate.slotClassId);
        questionId = InsertQuestionRecord(m_db, questionTemplate.id, word,
                                          questionKeyword(questionTemplate.keyword, word));
        transaction.commit();
    }

    m_state.givenAnswers.clear();
    m_state.score = 0;
    m_state.answerCount = 0;
    m_state.repeatCount = 0;
    m_state.lastAnswerSecond = 0;
    m_state.answerClassId = questionTemplate.answerClassId;
    m_state.questionId = questionId;
    m_view->ShowScore(0);
    m_view->showQuestion(fillQuestionTemplate(questionTemplate.text, word));
}

bool TrainingEngine::submitAnswer(const QString &answerBoxText)
{
    const QString answer = trimAnswer(answerBoxText);
    if (answer.isEmpty())
        return false;

    const qint64 now = m_clock.wholeSeconds();
    if (isTooFast(m_state.lastAnswerSecond, now)) {
        m_state.flashColor = FlashColor::Red;
        m_view->StartFlash(m_state.flashColor);
        m_view->AppendAnswerRecord(QStringLiteral("-"), QStringLiteral("不能输入的太快！"), Verdict::TooFast);
        return true;
    }

    StateRestorer restorer(m_state);
    m_state.lastAnswerSecond = now;
    if (m_state.questionId <= 0 || m_state.answerClassId <= 0) {
        restorer.keep();
        return true;
    }

    const Verdict verdict = JudgeAnswer(m_db, m_state.givenAnswers, m_state.questionId, answer);
    const QString phrase = PickFeedbackPhrase(m_db, m_random, verdict);
    if (verdict == Verdict::Accepted)
        storeAcceptedAnswer(answer);
    restorer.keep();

    m_state.flashColor = verdict == Verdict::Accepted ? FlashColor::Lime : FlashColor::Red;
    m_view->AppendAnswerRecord(answer, phrase, verdict);
    m_view->StartFlash(m_state.flashColor);
    if (verdict == Verdict::Accepted)
        m_view->ShowScore(m_state.score);
    return true;
}

// Files the word when the dictionary does not know it, links it to the question
// and saves the question's statistics, all in one transaction; the state takes
// the new counts and score only once it has committed.
void TrainingEngine::storeAcceptedAnswer(const QString &answer)
{
    TrainingState next = m_state;
    Transaction transaction(m_db);
    next.wordId = FindWordId(m_db, caseVariants(answer));
    if (next.wordId == 0)
        next.wordId = AddWord(m_db, next.answerClassId, answer);
    else if (IsWordUsedBefore(m_db, next.wordId))
        ++next.repeatCount;
    LinkAnswer(m_db, next.questionId, next.wordId);
    ++next.answerCount;
    RaiseScore(next);
    SaveQuestionStats(m_db, next.questionId, next.score, next.answerCount, next.repeatCount);
    transaction.commit();
    m_state = next;
}

void TrainingEngine::clearAllRecords()
{
    m_db.requireWritable();
    backUpBeforeClear(m_db, QDateTime::currentDateTime());
    {
        Transaction transaction(m_db);
        DropAllTables(m_db);
        CreateTablesAndSeed(m_db);
        transaction.commit();
    }
    m_openingPending = false;
    m_state.givenAnswers.clear();
    ResetTrainingState(m_state);
    m_view->ResetTrainingView();
}

// The file is closed while it is replaced: the background check ends with it,
// and SQLite folds the log into the file, so that nothing lies beside it.
QString TrainingEngine::restoreHistory(Database &source, QList<StartupNotice> &notices)
{
    if (m_db.isOpen() && m_db.access() == Database::ReadOnly)
        m_db.requireWritable();
    m_db.close();
    QString kept;
    try {
        kept = replaceHistory(source, m_dataFile);
    } catch (const DatabaseError &) {
        const bool openingPending = m_openingPending;
        OpenDatabase(m_db, m_dataFile);
        m_openingPending = openingPending && m_db.isWritable();
        throw;
    }
    notices = start();
    m_view->ResetTrainingView();
    return kept;
}
