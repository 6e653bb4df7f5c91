#include "trainingengine.h"

#include "answerchecking.h"
#include "clock.h"
#include "questiongeneration.h"
#include "randomsource.h"
#include "scoring.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/location.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "trainingview.h"

namespace {

const QColor flashAccepted(0, 255, 0);
const QColor flashRejected(255, 0, 0);

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

TrainingEngine::TrainingEngine(Database &db, TrainingView &view, const Clock &clock, RandomSource &random)
    : m_db(db), m_view(view), m_clock(clock), m_random(random)
{
}

void TrainingEngine::start()
{
    OpenDatabase(m_db);
    m_state.givenAnswers.clear();
    ResetTrainingState(m_state);
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
    if (m_db.isOpen())
        DiscardUnansweredQuestion(m_db, m_state);
}

void TrainingEngine::startNewQuestion()
{
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
    m_view.ShowScore(0);
    m_view.showQuestion(fillQuestionTemplate(questionTemplate.text, word));
}

bool TrainingEngine::submitAnswer(const QString &answerBoxText)
{
    const QString answer = trimAnswer(answerBoxText);
    if (answer.isEmpty())
        return false;

    const qint64 now = m_clock.wholeSeconds();
    if (isTooFast(m_state.lastAnswerSecond, now)) {
        m_state.flashColor = flashRejected;
        m_view.StartFlash(m_state.flashColor);
        m_view.AppendAnswerRecord(QStringLiteral("-"), QStringLiteral("不能输入的太快！"), Verdict::TooFast);
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

    m_state.flashColor = verdict == Verdict::Accepted ? flashAccepted : flashRejected;
    m_view.AppendAnswerRecord(answer, phrase, verdict);
    m_view.StartFlash(m_state.flashColor);
    if (verdict == Verdict::Accepted)
        m_view.ShowScore(m_state.score);
    return true;
}

// Files the word when the dictionary does not know it, links it to the question
// and saves the question's statistics, all in one transaction; the counts in
// memory rise only once it has committed.
void TrainingEngine::storeAcceptedAnswer(const QString &answer)
{
    Transaction transaction(m_db);
    int wordId = FindWordId(m_db, answer);
    bool reused = false;
    if (wordId == 0)
        wordId = AddWord(m_db, m_state.answerClassId, answer);
    else
        reused = IsWordUsedBefore(m_db, wordId);
    LinkAnswer(m_db, m_state.questionId, wordId);
    const int answerCount = m_state.answerCount + 1;
    const int repeatCount = m_state.repeatCount + (reused ? 1 : 0);
    const int score = scoreAfterAcceptedAnswer(m_state.score);
    SaveQuestionStats(m_db, m_state.questionId, score, answerCount, repeatCount);
    transaction.commit();

    m_state.wordId = wordId;
    m_state.answerCount = answerCount;
    m_state.repeatCount = repeatCount;
    RaiseScore(m_state);
}

void TrainingEngine::clearAllRecords()
{
    {
        Transaction transaction(m_db);
        DropAllTables(m_db);
        CreateTablesAndSeed(m_db);
        transaction.commit();
    }
    m_state.givenAnswers.clear();
    ResetTrainingState(m_state);
    m_view.ResetTrainingView();
}
