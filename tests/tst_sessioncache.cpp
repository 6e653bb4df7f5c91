// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeclock.h"
#include "temporaryhome.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "store/dictionary.h"
#include "store/historystatistics.h"
#include "store/location.h"
#include "store/statements.h"
#include "store/questionrecords.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "training/questiongeneration.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

// Answers every draw with the next position of the range in turn, so that n
// draws over n rows reach each row exactly once, and notes the ranges asked for.
class RoundRobinRandom final : public RandomSource
{
public:
    int RandomInRange(int low, int high) override
    {
        ranges.append({low, high});
        return high < low ? low : low + int(m_next++ % (high - low + 1));
    }
    void restart() { m_next = 0; }
    QList<std::pair<int, int>> ranges;

private:
    qint64 m_next = 0;
};

QStringList wordsOfClass(Database &db, int classId)
{
    QStringList names;
    QSqlQuery query = db.statements().execute(QStringLiteral("SELECT name FROM ci WHERE cxid = ? ORDER BY id"),
                                              {classId});
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

// The averages as the evaluation first computed them, each over the whole history.
QList<double> averagesOverTheHistory(Database &db)
{
    QList<double> means;
    for (const char *sql : {"SELECT avg(wt.answer_count * wtlx.fsqz) FROM wt, wtlx"
                            " WHERE wt.answer_count > 0 AND wt.wtlxid = wtlx.id",
                            "SELECT avg((wt.answer_count - wt.repeate_count) * wtlx.fsqz) FROM wt, wtlx"
                            " WHERE wt.answer_count > 0 AND wt.wtlxid = wtlx.id",
                            "SELECT avg(wt.repeate_count * wtlx.fsqz) FROM wt, wtlx"
                            " WHERE wt.repeate_count > 0 AND wt.wtlxid = wtlx.id"}) {
        QSqlQuery query = db.statements().execute(QString::fromLatin1(sql));
        means.append(query.next() ? query.value(0).toDouble() : 0.0);
    }
    return means;
}

// Commits `change` through a second connection to the same file.
void changeThroughOtherConnection(Database &db, const QString &sql)
{
    Database other;
    other.open(BuildConnectionString(db.filePath()));
    other.statements().execute(sql);
}

} // namespace

class SessionCacheTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void drawReachesEachWordOfTheClassOnce_data();
    void drawReachesEachWordOfTheClassOnce();
    void sumsEqualTheFullComputation_data();
    void sumsEqualTheFullComputation();

private:
    void apply(const QString &step);

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<RoundRobinRandom> m_random;
    std::unique_ptr<TrainingEngine> m_engine;
};

void SessionCacheTest::init()
{
    m_home = std::make_unique<TemporaryHome>();
    m_db = std::make_unique<Database>();
    m_clock = std::make_unique<FakeClock>();
    m_random = std::make_unique<RoundRobinRandom>();
    m_engine = std::make_unique<TrainingEngine>(*m_db, *m_clock, *m_random);
    m_engine->start();
}

void SessionCacheTest::cleanup()
{
    m_engine.reset();
    m_db.reset();
    m_home.reset();
}

// One step of a session, named as the data rows name them.
void SessionCacheTest::apply(const QString &step)
{
    Database &db = *m_db;
    const int questionId = m_engine->state().questionId;
    if (step == u"question") {
        m_engine->startNewQuestion();
    } else if (step.startsWith(u"answer ")) {
        m_clock->advance(10);
        m_engine->submitAnswer(step.mid(7));
    } else if (step == u"learn") {
        Transaction transaction(db);
        AddWord(db, 1, QStringLiteral("新学的词"));
        transaction.commit();
    } else if (step == u"learn outside a transaction") {
        AddWord(db, 1, QStringLiteral("单独的词"));
    } else if (step == u"failed learn") {
        Transaction transaction(db);
        AddWord(db, 1, QStringLiteral("没学成"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, AddWord(db, 1, QString(51, u'长')));
    } else if (step == u"failed answer") {
        // The counts are written, then a later statement of the same write fails.
        Transaction transaction(db);
        SaveQuestionStats(db, questionId, 90, 7, 3);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, AddWord(db, 1, QString(51, u'长')));
    } else if (step == u"clear") {
        m_engine->clearAllRecords();
    } else if (step == u"other connection") {
        changeThroughOtherConnection(db, QStringLiteral("INSERT INTO ci (cxid, name) VALUES (1, '别处的词');"));
        changeThroughOtherConnection(
            db, QStringLiteral("UPDATE wt SET answer_count = answer_count + 5, repeate_count = 2"));
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

void SessionCacheTest::drawReachesEachWordOfTheClassOnce_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("classId");
    QTest::newRow("seed, nouns") << QStringList() << 1;
    QTest::newRow("seed, verbs") << QStringList() << 2;
    QTest::newRow("seed, uses") << QStringList() << 4;
    QTest::newRow("after learning a word") << QStringList{QStringLiteral("learn")} << 1;
    QTest::newRow("after a word learned outside a transaction")
        << QStringList{QStringLiteral("learn outside a transaction")} << 1;
    QTest::newRow("after a failed learn") << QStringList{QStringLiteral("failed learn")} << 1;
    QTest::newRow("after accepted answers")
        << QStringList{QStringLiteral("question"), QStringLiteral("answer 台灯"), QStringLiteral("answer 桌子")} << 1;
    QTest::newRow("after a clear") << QStringList{QStringLiteral("learn"), QStringLiteral("clear")} << 1;
    QTest::newRow("after another connection's word") << QStringList{QStringLiteral("other connection")} << 1;
}

// A draw is uniform over the class when the uniform position it asks for is
// turned into each word of the class exactly once: n draws whose positions run
// through 1..n give back every word of the class, in id order.
void SessionCacheTest::drawReachesEachWordOfTheClassOnce()
{
    QFETCH(QStringList, steps);
    QFETCH(int, classId);
    PickRandomWord(*m_db, *m_random, classId); // the words are known before the steps
    for (const QString &step : steps)
        apply(step);

    const QStringList expected = wordsOfClass(*m_db, classId);
    QVERIFY(!expected.isEmpty());
    m_random->ranges.clear();
    m_random->restart();
    QStringList drawn;
    for (qsizetype i = 0; i < expected.size(); ++i)
        drawn.append(PickRandomWord(*m_db, *m_random, classId));
    QCOMPARE(drawn, expected);
    QCOMPARE(m_random->ranges.first(), std::make_pair(1, int(expected.size())));
}

void SessionCacheTest::sumsEqualTheFullComputation_data()
{
    const QString question = QStringLiteral("question");
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("answers, new and reused words")
        << QStringList{question, QStringLiteral("answer 苹果"), QStringLiteral("answer 桌子"),
                       question, QStringLiteral("answer 苹果"), QStringLiteral("answer 香蕉")};
    QTest::newRow("unanswered questions discarded")
        << QStringList{question, question, QStringLiteral("answer 苹果"), question, question};
    QTest::newRow("a clear between answers")
        << QStringList{question, QStringLiteral("answer 苹果"), QStringLiteral("clear"),
                       question, QStringLiteral("answer 苹果"), QStringLiteral("answer 梨")};
    QTest::newRow("a failed write") << QStringList{question, QStringLiteral("answer 苹果"),
                                                   QStringLiteral("failed answer"), QStringLiteral("answer 桌子")};
    QTest::newRow("another connection's change")
        << QStringList{question, QStringLiteral("answer 苹果"), QStringLiteral("other connection"), question,
                       QStringLiteral("answer 桌子")};
}

// After every step the kept sums are those of the whole history, and the
// averages made of them are those that reading the whole history gives.
void SessionCacheTest::sumsEqualTheFullComputation()
{
    QFETCH(QStringList, steps);
    loadHistorySums(*m_db);
    for (const QString &step : steps) {
        apply(step);
        const QList<double> reference = averagesOverTheHistory(*m_db);
        const QList<double> kept{meanWeightedAnswerCount(*m_db), meanWeightedNewWordCount(*m_db),
                                 meanWeightedRepeatCount(*m_db)};
        QVERIFY2(kept == reference, qPrintable(step));
        QVERIFY2(*m_db->statements().cache().sums() == computeHistorySums(*m_db), qPrintable(step));
    }
    QVERIFY(m_db->statements().cache().sums()->answerRows > 0);
}

QTEST_GUILESS_MAIN(SessionCacheTest)
#include "tst_sessioncache.moc"
