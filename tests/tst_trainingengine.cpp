// SPDX-License-Identifier: GPL-3.0-or-later
#include "databasefixture.h"
#include "fakeclock.h"
#include "recordingview.h"
#include "temporaryhome.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "store/location.h"
#include "store/statements.h"
#include "store/transaction.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"

#include <QSemaphore>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

#include <atomic>

using DatabaseFixture::count;

namespace {

constexpr FlashColor lime = FlashColor::Lime;
constexpr FlashColor red = FlashColor::Red;

QString word(int i)
{
    // Distinct GB2312 words that the seed dictionary does not hold.
    static const QString stems = QStringLiteral(
        "甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥春夏秋冬东南西北金木水火土");
    return stems.at(i % stems.size()) + QStringLiteral("器");
}

} // namespace

// The training loop against a real temporary database, with a hand-driven clock
// and a seeded random source.
class TrainingEngineTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startOpensTheStoreWithNoQuestion();
    void newQuestionStoresAndShowsIt();
    void questionWithoutASlotWord_data();
    void questionWithoutASlotWord();
    void templatesAreDrawnUniformly();
    void leavingAQuestionDiscardsItOnlyWithoutAnswers();
    void commandsWaitForAnotherWriter_data();
    void commandsWaitForAnotherWriter();
    void acceptedRepeatedPersistent();
    void rejectedAnswersChangeNothingButTheList();
    void nonChineseTextIsInvalidEveryTime_data();
    void nonChineseTextIsInvalidEveryTime();
    void tooFastAnswersAreRefusedAndNotJudged();
    void firstAnswerOfANewQuestionIsNeverTooFast();
    void answersWithoutAQuestionOnlyMoveTheStamp();
    void blankInputIsIgnored();
    void newWordIsFiledUnderTheAnswerClass();
    void wordAcceptedBeforeCountsAsRepeat_data();
    void wordAcceptedBeforeCountsAsRepeat();
    void wordStoredTwiceIsNeverARepeat();
    void scoreFollowsTheAcceptedAnswers();
    void failedAnswerWriteLeavesStoreAndStateAsTheyWere();
    void failedNewQuestionLeavesTheCurrentOne();
    void clearRestoresTheSeed();
    void failedClearChangesNothing_data();
    void failedClearChangesNothing();
    void finishDiscardsAndCloses();
    void commandsFailClearlyWithoutADatabase();

private:
    void startQuestionWithAnswerClass(int classId);
    QString feedbackOfType(int type) const;
    QVariantList questionRow(int id) const;

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<RecordingView> m_view;
    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<RandomSource> m_random;
    std::unique_ptr<TrainingEngine> m_engine;
};

void TrainingEngineTest::init()
{
    m_home = std::make_unique<TemporaryHome>();
    m_db = std::make_unique<Database>();
    m_view = std::make_unique<RecordingView>();
    m_clock = std::make_unique<FakeClock>();
    m_random = std::make_unique<RandomSource>(1234);
    m_engine = std::make_unique<TrainingEngine>(*m_db, *m_clock, *m_random);
    m_engine->setView(*m_view);
    m_engine->start();
}

void TrainingEngineTest::cleanup()
{
    m_engine.reset();
    m_db.reset();
    m_home.reset();
}

void TrainingEngineTest::startQuestionWithAnswerClass(int classId)
{
    for (int attempt = 0; attempt < 500; ++attempt) {
        m_engine->startNewQuestion();
        if (m_engine->state().answerClassId == classId)
            return;
    }
    QFAIL("no template of that answer class was drawn");
}

QString TrainingEngineTest::feedbackOfType(int type) const
{
    QStringList phrases;
    QSqlQuery query = m_db->statements().execute(QStringLiteral("SELECT descr FROM hdpj WHERE type = ?"), {type});
    while (query.next())
        phrases.append(query.value(0).toString());
    return phrases.join(QLatin1Char('\n'));
}

QVariantList TrainingEngineTest::questionRow(int id) const
{
    QSqlQuery query = m_db->statements().execute(
        QStringLiteral("SELECT wtlxid, match_word, keyword, score, answer_count, repeate_count FROM wt WHERE id = ?"),
        {id});
    if (!query.next())
        return {};
    QVariantList row;
    for (int i = 0; i < 6; ++i)
        row.append(query.value(i));
    return row;
}

void TrainingEngineTest::startOpensTheStoreWithNoQuestion()
{
    QVERIFY(m_db->isOpen());
    QCOMPARE(m_engine->state().questionId, 0);
    QCOMPARE(count(*m_db, QStringLiteral("ci")), 110);
    QVERIFY(m_view->calls.isEmpty());
}

void TrainingEngineTest::newQuestionStoresAndShowsIt()
{
    startQuestionWithAnswerClass(4); // "请列举#的作用": a noun fills the slot
    const TrainingState &state = m_engine->state();
    QCOMPARE(count(*m_db, QStringLiteral("wt")), 1);
    const QVariantList row = questionRow(state.questionId);
    QCOMPARE(row[0].toInt(), 6);
    const QString noun = row[1].toString();
    QCOMPARE(count(*m_db, QStringLiteral("ci"), QStringLiteral("cxid = 1 AND name = ?"), {noun}), 1);
    QCOMPARE(row[2].toString(), noun);
    QVERIFY(row[3].isNull() && row[4].isNull() && row[5].isNull());
    QVERIFY(!m_db->statements()
                 .scalar(QStringLiteral("SELECT dotime FROM wt WHERE id = ?"), {state.questionId})
                 .toString()
                 .isEmpty());

    QCOMPARE(m_view->questions.last(), (QuestionText{QStringLiteral("请列举"), noun, QStringLiteral("的作用")}));
    // The cleared score shows before the new question does.
    QCOMPARE(m_view->calls.mid(m_view->calls.size() - 2),
             (QStringList{QStringLiteral("score"), QStringLiteral("question")}));
    QCOMPARE(m_view->scores.last(), 0);
}

// Without a slot word the question's text stays as the template has it, and the
// stored word (and a "#" keyword) is the empty text, not NULL.
void TrainingEngineTest::questionWithoutASlotWord_data()
{
    QTest::addColumn<int>("templateId");
    QTest::addColumn<int>("emptiedClass");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answerClass");
    QTest::newRow("template without a slot")
        << 3 << 0 << QStringLiteral("花") << QStringLiteral("请列举你认识的花") << 1;
    QTest::newRow("slot class without words") << 6 << 1 << QString() << QStringLiteral("请列举#的作用") << 4;
}

void TrainingEngineTest::questionWithoutASlotWord()
{
    QFETCH(int, templateId);
    QFETCH(int, emptiedClass);
    QFETCH(QString, keyword);
    QFETCH(QString, text);
    QFETCH(int, answerClass);
    m_db->statements().execute(QStringLiteral("DELETE FROM ci WHERE cxid = ?"), {emptiedClass});
    for (int attempt = 0; attempt < 500; ++attempt) {
        m_engine->startNewQuestion();
        if (questionRow(m_engine->state().questionId)[0].toInt() == templateId)
            break;
    }
    const int id = m_engine->state().questionId;
    QCOMPARE(questionRow(id)[0].toInt(), templateId);
    QCOMPARE(m_db->statements()
                 .scalar(QStringLiteral("SELECT quote(match_word) || quote(keyword) FROM wt WHERE id = ?"), {id})
                 .toString(),
             QStringLiteral("''") + QLatin1Char('\'') + keyword + QLatin1Char('\''));
    QCOMPARE(m_view->questions.last(), (QuestionText{text, QString(), QString()}));
    QCOMPARE(m_engine->state().answerClassId, answerClass);
}

void TrainingEngineTest::templatesAreDrawnUniformly()
{
    constexpr int draws = 2300;
    QList<int> counts(23, 0);
    for (int i = 0; i < draws; ++i) {
        m_engine->startNewQuestion();
        ++counts[questionRow(m_engine->state().questionId)[0].toInt() - 1];
    }
    // Chi-square over 23 templates; 48.27 is the 99.9 % quantile for 22 degrees of freedom.
    const double expected = draws / 23.0;
    double chiSquare = 0;
    for (int c : counts)
        chiSquare += (c - expected) * (c - expected) / expected;
    QVERIFY2(chiSquare < 48.27, qPrintable(QString::number(chiSquare)));
    QCOMPARE(count(*m_db, QStringLiteral("wt")), 1); // every unanswered question was discarded
}

void TrainingEngineTest::leavingAQuestionDiscardsItOnlyWithoutAnswers()
{
    m_engine->startNewQuestion();
    const int unanswered = m_engine->state().questionId;
    m_engine->startNewQuestion();
    QVERIFY(questionRow(unanswered).isEmpty());
    const int answered = m_engine->state().questionId;
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    m_engine->startNewQuestion();
    QCOMPARE(questionRow(answered).value(4).toInt(), 1);
    QVERIFY(m_engine->state().questionId > answered);
}

void TrainingEngineTest::commandsWaitForAnotherWriter_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("new question") << false;
    QTest::newRow("accepted answer") << true;
}

// Another connection holds the write lock for 2 s: the command waits for it and
// succeeds, where a transaction that began by reading would fail at once.
void TrainingEngineTest::commandsWaitForAnotherWriter()
{
    QFETCH(bool, answer);
    if (answer)
        m_engine->startNewQuestion();
    const QString path = m_db->filePath();
    QSemaphore locked;
    std::atomic_bool committing = false;
    QThread *holder = QThread::create([&] {
        Database other(QStringLiteral("holder"));
        other.open(BuildConnectionString(path));
        Transaction transaction(other);
        other.statements().execute(QStringLiteral("INSERT INTO cx (name) VALUES ('其他')"));
        locked.release();
        QThread::msleep(2000);
        committing = true;
        transaction.commit();
    });
    holder->start();
    QVERIFY(locked.tryAcquire(1, 60000));
    if (answer) {
        QVERIFY(m_engine->submitAnswer(QStringLiteral("亮晶晶")));
        QCOMPARE(m_view->records.last().verdict, Verdict::Accepted);
        QCOMPARE(count(*m_db, QStringLiteral("hd")), 1);
    } else {
        m_engine->startNewQuestion();
        QCOMPARE(count(*m_db, QStringLiteral("wt")), 1);
    }
    QVERIFY(committing); // the command went through only once the holder let go
    QVERIFY(holder->wait(60000));
    delete holder;
    QCOMPARE(count(*m_db, QStringLiteral("cx")), 5);
}

void TrainingEngineTest::acceptedRepeatedPersistent()
{
    m_engine->startNewQuestion();
    const int question = m_engine->state().questionId;
    m_view->calls.clear();

    QVERIFY(m_engine->submitAnswer(QStringLiteral("  桌子 ")));
    const TrainingState &state = m_engine->state();
    QCOMPARE(m_view->records.last().answer, QStringLiteral("桌子"));
    QCOMPARE(m_view->records.last().verdict, Verdict::Accepted);
    QVERIFY(feedbackOfType(1).split(QLatin1Char('\n')).contains(m_view->records.last().feedback));
    QCOMPARE(m_view->calls, (QStringList{QStringLiteral("record"), QStringLiteral("flash"), QStringLiteral("score")}));
    QCOMPARE(m_view->flashes.last(), lime);
    QCOMPARE(m_view->scores.last(), 3);
    QCOMPARE(state.wordId, 1); // the seed word, found once
    QCOMPARE(state.answerCount, 1);
    QCOMPARE(state.repeatCount, 0);
    QCOMPARE(state.score, 3);
    QCOMPARE(count(*m_db, QStringLiteral("hd"), QStringLiteral("wtid = ? AND ciid = 1"), {question}), 1);
    QCOMPARE(count(*m_db, QStringLiteral("ci")), 110);
    QCOMPARE(questionRow(question).mid(3), (QVariantList{3, 1, 0}));

    m_clock->advance(5);
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    QCOMPARE(m_view->records.last().verdict, Verdict::Repeated);
    QVERIFY(feedbackOfType(3).split(QLatin1Char('\n')).contains(m_view->records.last().feedback));
    QCOMPARE(m_view->flashes.last(), red);

    m_clock->advance(5);
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    QCOMPARE(m_view->records.last().verdict, Verdict::Persistent);
    QVERIFY(feedbackOfType(4).split(QLatin1Char('\n')).contains(m_view->records.last().feedback));
    m_clock->advance(5);
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    QCOMPARE(m_view->records.last().verdict, Verdict::Persistent);

    QCOMPARE(state.score, 3);
    QCOMPARE(state.answerCount, 1);
    QCOMPARE(count(*m_db, QStringLiteral("hd")), 1);
    QCOMPARE(m_view->scores.size(), 2); // 0 for the new question, 3 for the one accepted answer
    QCOMPARE(state.givenAnswers.size(), 4);
}

void TrainingEngineTest::rejectedAnswersChangeNothingButTheList()
{
    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    const QString before = DatabaseFixture::dump(*m_db);
    const TrainingState accepted = m_engine->state();
    for (const QString &answer : {QStringLiteral("桌子"), QStringLiteral("abc"), QStringLiteral("桌子")}) {
        m_clock->advance(3);
        QVERIFY(m_engine->submitAnswer(answer));
    }
    QCOMPARE(DatabaseFixture::dump(*m_db), before);
    const TrainingState &after = m_engine->state();
    QCOMPARE(after.score, accepted.score);
    QCOMPARE(after.answerCount, accepted.answerCount);
    QCOMPARE(after.wordId, accepted.wordId);
    QCOMPARE(after.givenAnswers.size(), accepted.givenAnswers.size() + 3);
    QCOMPARE(after.lastAnswerSecond, m_clock->wholeSeconds());
}

void TrainingEngineTest::nonChineseTextIsInvalidEveryTime_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("ASCII") << QStringLiteral("abc");
    QTest::newRow("blank inside") << QStringLiteral("桌 子");
    QTest::newRow("mixed") << QStringLiteral("桌子1");
    QTest::newRow("single quote") << QStringLiteral("'");
    QTest::newRow("SQL") << QStringLiteral("'; drop table ci; --");
    QTest::newRow("percent") << QStringLiteral("%");
    QTest::newRow("outside GBK") << QStringLiteral("😀");
}

void TrainingEngineTest::nonChineseTextIsInvalidEveryTime()
{
    QFETCH(QString, answer);
    m_engine->startNewQuestion();
    const QString before = DatabaseFixture::dump(*m_db);
    QSet<QString> phrases;
    for (int i = 0; i < 10; ++i) {
        m_clock->advance(3);
        QVERIFY(m_engine->submitAnswer(answer));
        QCOMPARE(m_view->records.last().verdict, Verdict::Invalid);
        QCOMPARE(m_view->records.last().answer, answer);
        QVERIFY(feedbackOfType(2).split(QLatin1Char('\n')).contains(m_view->records.last().feedback));
        phrases.insert(m_view->records.last().feedback);
    }
    QVERIFY2(phrases.size() > 1, "the phrase is drawn at random among those of its type");
    QCOMPARE(DatabaseFixture::dump(*m_db), before);
    QCOMPARE(m_engine->state().score, 0);
}

void TrainingEngineTest::tooFastAnswersAreRefusedAndNotJudged()
{
    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    const qint64 stamp = m_engine->state().lastAnswerSecond;
    for (int step : {1, 1}) {
        m_clock->advance(step);
        QVERIFY(m_engine->submitAnswer(QStringLiteral("椅子")));
        QCOMPARE(m_view->records.last().answer, QStringLiteral("-"));
        QCOMPARE(m_view->records.last().feedback, QStringLiteral("不能输入的太快！"));
        QCOMPARE(m_view->records.last().verdict, Verdict::TooFast);
        QCOMPARE(m_view->flashes.last(), red);
        QCOMPARE(m_engine->state().lastAnswerSecond, stamp);
    }
    QCOMPARE(m_engine->state().givenAnswers.size(), 1);
    m_clock->advance(1); // 3 seconds after the last answer that passed
    QVERIFY(m_engine->submitAnswer(QStringLiteral("椅子")));
    QCOMPARE(m_view->records.last().verdict, Verdict::Accepted);
    QCOMPARE(m_engine->state().answerCount, 2);
}

void TrainingEngineTest::firstAnswerOfANewQuestionIsNeverTooFast()
{
    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    QCOMPARE(m_view->records.last().verdict, Verdict::Accepted);
}

void TrainingEngineTest::answersWithoutAQuestionOnlyMoveTheStamp()
{
    const QString before = DatabaseFixture::dump(*m_db);
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    QVERIFY(m_view->calls.isEmpty());
    QCOMPARE(m_engine->state().lastAnswerSecond, m_clock->wholeSeconds());
    QVERIFY(m_engine->state().givenAnswers.isEmpty());
    m_clock->advance(2);
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    QCOMPARE(m_view->records.size(), 1);
    QCOMPARE(m_view->records.last().verdict, Verdict::TooFast);
    QCOMPARE(DatabaseFixture::dump(*m_db), before);
}

void TrainingEngineTest::blankInputIsIgnored()
{
    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    const qint64 stamp = m_engine->state().lastAnswerSecond;
    const int records = m_view->records.size();
    m_clock->advance(3);
    QVERIFY(!m_engine->submitAnswer(QStringLiteral(" \t ")));
    QVERIFY(!m_engine->submitAnswer(QString()));
    QCOMPARE(m_engine->state().lastAnswerSecond, stamp);
    QCOMPARE(m_view->records.size(), records);
}

void TrainingEngineTest::newWordIsFiledUnderTheAnswerClass()
{
    startQuestionWithAnswerClass(3); // "请列举#的特征": answers are adjectives
    QVERIFY(m_engine->submitAnswer(QStringLiteral("亮晶晶")));
    QCOMPARE(m_db->statements()
                 .scalar(QStringLiteral("SELECT id || ':' || cxid FROM ci WHERE name = ?"), {QStringLiteral("亮晶晶")})
                 .toString(),
             QStringLiteral("111:3"));
    QCOMPARE(m_engine->state().wordId, 111);
    QCOMPARE(m_engine->state().repeatCount, 0);
    QCOMPARE(count(*m_db, QStringLiteral("hd"), QStringLiteral("ciid = 111")), 1);
}

// Spellings that differ only in letter case are one answer, for the question
// (Repeated) and for the dictionary (one word, found again).
void TrainingEngineTest::wordAcceptedBeforeCountsAsRepeat_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("same spelling") << QStringLiteral("亮晶晶") << QStringLiteral("亮晶晶");
    QTest::newRow("Greek") << QStringLiteral("α") << QStringLiteral("Α");
    QTest::newRow("full-width Latin") << QStringLiteral("ａ") << QStringLiteral("Ａ");
    QTest::newRow("Cyrillic") << QStringLiteral("Жук") << QStringLiteral("жУК");
    QTest::newRow("Roman numerals") << QStringLiteral("第Ⅳ章") << QStringLiteral("第ⅳ章");
}

void TrainingEngineTest::wordAcceptedBeforeCountsAsRepeat()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(first)); // new word: never a repeat
    QCOMPARE(m_view->records.last().verdict, Verdict::Accepted);
    QCOMPARE(m_engine->state().repeatCount, 0);
    const int wordId = m_engine->state().wordId;
    m_clock->advance(3);
    QVERIFY(m_engine->submitAnswer(second));
    QCOMPARE(m_view->records.last().verdict, Verdict::Repeated);

    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(second));
    QCOMPARE(m_view->records.last().verdict, Verdict::Accepted);
    QCOMPARE(m_engine->state().wordId, wordId);
    QCOMPARE(m_engine->state().repeatCount, 1);
    QCOMPARE(questionRow(m_engine->state().questionId).mid(3), (QVariantList{3, 1, 1}));
    QCOMPARE(count(*m_db, QStringLiteral("ci")), 111);
}

void TrainingEngineTest::wordStoredTwiceIsNeverARepeat()
{
    for (int round = 0; round < 3; ++round) {
        m_engine->startNewQuestion();
        const int classId = m_engine->state().answerClassId;
        const int before = count(*m_db, QStringLiteral("ci"), QStringLiteral("name = ?"), {QStringLiteral("过河")});
        QVERIFY(m_engine->submitAnswer(QStringLiteral("过河")));
        QCOMPARE(m_engine->state().repeatCount, 0);
        QCOMPARE(count(*m_db, QStringLiteral("ci"), QStringLiteral("name = ?"), {QStringLiteral("过河")}), before + 1);
        QCOMPARE(m_db->statements()
                     .scalar(QStringLiteral("SELECT cxid FROM ci WHERE id = ?"), {m_engine->state().wordId})
                     .toInt(),
                 classId);
    }
}

void TrainingEngineTest::scoreFollowsTheAcceptedAnswers()
{
    m_engine->startNewQuestion();
    const QMap<int, int> expected{{1, 3}, {20, 60}, {21, 62}, {30, 80}, {31, 81}};
    for (int n = 1; n <= 31; ++n) {
        m_clock->advance(3);
        QVERIFY(m_engine->submitAnswer(word(n)));
        if (expected.contains(n)) {
            QCOMPARE(m_engine->state().score, expected[n]);
            QCOMPARE(m_view->scores.last(), expected[n]);
            QCOMPARE(questionRow(m_engine->state().questionId).mid(3), (QVariantList{expected[n], n, 0}));
        }
    }
    m_engine->startNewQuestion();
    QCOMPARE(m_view->scores.last(), 0);
    QVERIFY(m_engine->submitAnswer(word(1)));
    QCOMPARE(m_engine->state().score, 3);
}

void TrainingEngineTest::failedAnswerWriteLeavesStoreAndStateAsTheyWere()
{
    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));
    m_db->statements().execute(QStringLiteral("CREATE TRIGGER refuse_links BEFORE INSERT ON hd"
                                              " BEGIN SELECT RAISE(ABORT, 'disk is full'); END"));
    const QString before = DatabaseFixture::dump(*m_db);
    const TrainingState state = m_engine->state();
    const int calls = m_view->calls.size();

    m_clock->advance(3);
    try {
        m_engine->submitAnswer(QStringLiteral("亮晶晶"));
        QFAIL("the failed write was reported as success");
    } catch (const DatabaseError &error) {
        QVERIFY(error.text().contains(QStringLiteral("disk is full")));
    }
    QCOMPARE(DatabaseFixture::dump(*m_db), before); // the new word went with the rollback
    QCOMPARE(m_engine->state().answerCount, state.answerCount);
    QCOMPARE(m_engine->state().score, state.score);
    QCOMPARE(m_engine->state().wordId, state.wordId);
    QCOMPARE(m_engine->state().givenAnswers.size(), state.givenAnswers.size());
    QCOMPARE(m_engine->state().lastAnswerSecond, state.lastAnswerSecond);
    QCOMPARE(m_view->calls.size(), calls);

    m_db->statements().execute(QStringLiteral("DROP TRIGGER refuse_links"));
    QVERIFY(m_engine->submitAnswer(QStringLiteral("亮晶晶")));
    QCOMPARE(m_view->records.last().verdict, Verdict::Accepted);
    QCOMPARE(m_engine->state().score, 6);
}

void TrainingEngineTest::failedNewQuestionLeavesTheCurrentOne()
{
    m_engine->startNewQuestion();
    const int current = m_engine->state().questionId;
    m_db->statements().execute(QStringLiteral("CREATE TRIGGER refuse_questions BEFORE INSERT ON wt"
                                              " BEGIN SELECT RAISE(ABORT, 'disk is full'); END"));
    const int calls = m_view->calls.size();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, m_engine->startNewQuestion());
    QCOMPARE(m_engine->state().questionId, current);
    QVERIFY(!questionRow(current).isEmpty()); // the discard went with the rollback
    QCOMPARE(m_view->calls.size(), calls);
}

void TrainingEngineTest::clearRestoresTheSeed()
{
    const QString fresh = DatabaseFixture::dump(*m_db);
    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(QStringLiteral("亮晶晶")));
    m_clock->advance(3);
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子")));

    m_engine->clearAllRecords();
    QCOMPARE(DatabaseFixture::dump(*m_db), fresh);
    QCOMPARE(m_view->resets, 1);
    const TrainingState &state = m_engine->state();
    QCOMPARE(state.questionId, 0);
    QCOMPARE(state.score, 0);
    QCOMPARE(state.lastAnswerSecond, 0);
    QVERIFY(state.givenAnswers.isEmpty());

    m_engine->startNewQuestion();
    QCOMPARE(m_engine->state().questionId, 1);
}

// The clear command drops the tables one by one; whichever of them fails, the
// tables dropped before it come back with the rollback.
void TrainingEngineTest::failedClearChangesNothing_data()
{
    QTest::addColumn<QString>("missingTable");
    for (const char *table : {"wtlx", "wt", "ci"})
        QTest::newRow(table) << QString::fromLatin1(table);
}

void TrainingEngineTest::failedClearChangesNothing()
{
    QFETCH(QString, missingTable);
    m_engine->startNewQuestion();
    QVERIFY(m_engine->submitAnswer(QStringLiteral("亮晶晶")));
    m_db->statements().execute(QStringLiteral("DROP TABLE ") + missingTable);
    const auto tablesAndRows = [this] {
        QStringList tables;
        QSqlQuery query = m_db->statements().execute(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' ORDER BY name"));
        while (query.next())
            tables.append(query.value(0).toString());
        for (QString &table : tables)
            table += QLatin1Char(':') + QString::number(count(*m_db, table));
        return tables;
    };
    const QStringList before = tablesAndRows();
    QCOMPARE(before.size(), 5);
    const TrainingState state = m_engine->state();

    QVERIFY_THROWS_EXCEPTION(DatabaseError, m_engine->clearAllRecords());
    QCOMPARE(tablesAndRows(), before);
    QCOMPARE(m_engine->state().questionId, state.questionId);
    QCOMPARE(m_engine->state().givenAnswers.size(), state.givenAnswers.size());
    QCOMPARE(m_view->resets, 0);
}

void TrainingEngineTest::finishDiscardsAndCloses()
{
    m_engine->startNewQuestion();
    m_engine->finish();
    QVERIFY(!m_db->isOpen());
    QVERIFY(m_engine->state().givenAnswers.isEmpty());

    Database reopened(QStringLiteral("reopened"));
    OpenDatabase(reopened);
    QCOMPARE(count(reopened, QStringLiteral("wt")), 0);
}

void TrainingEngineTest::commandsFailClearlyWithoutADatabase()
{
    m_db->close();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, m_engine->startNewQuestion());
    QVERIFY_THROWS_EXCEPTION(DatabaseError, m_engine->clearAllRecords());
    QVERIFY(m_engine->submitAnswer(QStringLiteral("桌子"))); // no question: nothing to judge
    m_engine->finish();
    QVERIFY(m_view->calls.isEmpty());
}

QTEST_GUILESS_MAIN(TrainingEngineTest)
#include "tst_trainingengine.moc"
