// SPDX-License-Identifier: GPL-3.0-or-later
#include "temporaryhome.h"

#include "evaluate/thinkingindices.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/location.h"
#include "store/statements.h"

#include <QSqlQuery>
#include <QtTest>

#include <limits>

// A stored question: its template and its two counts, either of which may be NULL.
struct QuestionRow
{
    int templateId;
    QVariant answerCount;
    QVariant repeatCount;
};
Q_DECLARE_METATYPE(QList<QuestionRow>)
Q_DECLARE_METATYPE(ThinkingIndices)

// The four thinking indices: the rounding rule, the derived heat index, and the
// three means over a real database.
class ThinkingIndicesTest : public QObject
{
    Q_OBJECT

private slots:
    void screenReadersHearEveryIndex_data();
    void screenReadersHearEveryIndex();
    void documentsExplainEachIndexAlike_data();
    void documentsExplainEachIndexAlike();
    void init();
    void cleanup();

    void roundHalfToEven_data();
    void roundHalfToEven();
    void heatIndex_data();
    void heatIndex();

    void computeFromHistory_data();
    void computeFromHistory();
    void earlierValuesAreCleared();
    void failingQueryThrowsAndKeepsEarlierValues_data();
    void failingQueryThrowsAndKeepsEarlierValues();

private:
    void useTemplatesOfWeights1_2_5();
    void store(const QList<QuestionRow> &rows);

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<Database> m_db;
};

void ThinkingIndicesTest::init()
{
    m_home = std::make_unique<TemporaryHome>();
    m_db = std::make_unique<Database>();
    OpenDatabase(*m_db);
}

void ThinkingIndicesTest::cleanup()
{
    m_db.reset();
    m_home.reset();
}

// Templates 1, 2 and 3 of weight 1, 2 and 5 in place of the seed templates.
void ThinkingIndicesTest::useTemplatesOfWeights1_2_5()
{
    m_db->statements().execute(QStringLiteral("DELETE FROM wtlx"));
    for (const auto &[id, weight] : {std::pair{1, 1}, {2, 2}, {3, 5}})
        m_db->statements().execute(QStringLiteral("INSERT INTO wtlx (id, neirong, fsqz) VALUES (?, ?, ?)"),
                                   {id, QStringLiteral("模板%1").arg(id), weight});
}

void ThinkingIndicesTest::store(const QList<QuestionRow> &rows)
{
    for (const QuestionRow &row : rows)
        m_db->statements().execute(
            QStringLiteral("INSERT INTO wt (wtlxid, answer_count, repeate_count) VALUES (?, ?, ?)"),
            {row.templateId, row.answerCount, row.repeatCount});
}

void ThinkingIndicesTest::roundHalfToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("2.5 down to even") << 2.5 << qint64(2);
    QTest::newRow("3.5 up to even") << 3.5 << qint64(4);
    QTest::newRow("0.5 down to zero") << 0.5 << qint64(0);
    QTest::newRow("-2.5 up to even") << -2.5 << qint64(-2);
    QTest::newRow("-3.5 down to even") << -3.5 << qint64(-4);
    QTest::newRow("0.49 down") << 0.49 << qint64(0);
    QTest::newRow("0.51 up") << 0.51 << qint64(1);
    QTest::newRow("just under a half") << 2.4999999 << qint64(2);
    QTest::newRow("-1.2 to nearest") << -1.2 << qint64(-1);
    QTest::newRow("whole number stays") << 7.0 << qint64(7);
    QTest::newRow("negative zero") << -0.0 << qint64(0);
    QTest::newRow("1e12 + 0.5 to even") << 1e12 + 0.5 << qint64(1'000'000'000'000);
    QTest::newRow("1e12 + 1.5 to even") << 1e12 + 1.5 << qint64(1'000'000'000'002);
    QTest::newRow("2^53 exact") << 9007199254740992.0 << qint64(9007199254740992);
}

void ThinkingIndicesTest::roundHalfToEven()
{
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QCOMPARE(::roundHalfToEven(value), expected);
}

void ThinkingIndicesTest::heatIndex_data()
{
    QTest::addColumn<int>("radio");
    QTest::addColumn<int>("newWord");
    QTest::addColumn<int>("oldWord");
    QTest::addColumn<int>("expected");
    QTest::newRow("root of 9") << 3 << 2 << 2 << 3;
    QTest::newRow("root of 40 rounds up") << 5 << 4 << 1 << 6;
    QTest::newRow("negative term uses its absolute value") << 1 << 1 << 2 << 1;
    QTest::newRow("all zero") << 0 << 0 << 0 << 0;
    QTest::newRow("no reused words") << 6 << 8 << 0 << 10;
    QTest::newRow("square beyond 32 bits") << 46341 << 0 << 0 << 46341;
    QTest::newRow("sum beyond 32 bits") << 50000 << 50000 << 0 << 70711;
    QTest::newRow("negative beyond 32 bits") << 0 << 0 << 46341 << 46341;
    QTest::newRow("largest inputs stay in range")
        << std::numeric_limits<int>::max() << std::numeric_limits<int>::max() << 0 << std::numeric_limits<int>::max();
}

void ThinkingIndicesTest::heatIndex()
{
    QFETCH(int, radio);
    QFETCH(int, newWord);
    QFETCH(int, oldWord);
    QFETCH(int, expected);
    QCOMPARE(deriveHeatIndex(radio, newWord, oldWord), expected);
}

void ThinkingIndicesTest::computeFromHistory_data()
{
    QTest::addColumn<QList<QuestionRow>>("rows");
    QTest::addColumn<int>("radio");
    QTest::addColumn<int>("newWord");
    QTest::addColumn<int>("oldWord");
    QTest::addColumn<int>("heat");
    const QVariant null;

    QTest::newRow("no questions") << QList<QuestionRow>{} << 0 << 0 << 0 << 0;
    QTest::newRow("only unanswered questions") << QList<QuestionRow>{{1, null, null}, {2, 0, 0}} << 0 << 0 << 0 << 0;
    QTest::newRow("mean 2.5 rounds to 2") << QList<QuestionRow>{{1, 2, 0}, {1, 3, 0}} << 2 << 2 << 0 << 3;
    QTest::newRow("mean 3.5 rounds to 4") << QList<QuestionRow>{{1, 3, 0}, {1, 4, 0}} << 4 << 4 << 0 << 6;
    QTest::newRow("counts are weighted") << QList<QuestionRow>{{2, 3, 1}} << 6 << 4 << 2 << 7;
    QTest::newRow("unanswered left out of the first two means")
        << QList<QuestionRow>{{1, 4, 0}, {1, null, null}, {1, 0, 0}} << 4 << 4 << 0 << 6;
    QTest::newRow("no reuse left out of the third mean")
        << QList<QuestionRow>{{1, 4, 2}, {1, 5, 0}} << 4 << 4 << 2 << 5;
    QTest::newRow("row without template left out") << QList<QuestionRow>{{1, 2, 1}, {99, 10, 10}} << 2 << 1 << 1 << 2;
    QTest::newRow("reuse outweighs the rest")
        << QList<QuestionRow>{{1, 1, 0}, {1, 1, 0}, {1, 1, 0}, {3, 1, 1}} << 2 << 1 << 5 << 4;
}

void ThinkingIndicesTest::computeFromHistory()
{
    QFETCH(QList<QuestionRow>, rows);
    QFETCH(int, radio);
    QFETCH(int, newWord);
    QFETCH(int, oldWord);
    QFETCH(int, heat);
    useTemplatesOfWeights1_2_5();
    store(rows);

    ThinkingIndices indices;
    ComputeThinkingIndices(*m_db, indices);
    QCOMPARE(indices.radioIndex, radio);
    QCOMPARE(indices.newWordIndex, newWord);
    QCOMPARE(indices.oldWordIndex, oldWord);
    QCOMPARE(indices.heatIndex, heat);
}

void ThinkingIndicesTest::earlierValuesAreCleared()
{
    ThinkingIndices indices{7, 8, 9, 10};
    ComputeThinkingIndices(*m_db, indices);
    QCOMPARE(indices, ThinkingIndices());
}

void ThinkingIndicesTest::failingQueryThrowsAndKeepsEarlierValues_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("radio");
    QTest::newRow("question table missing") << QStringLiteral("DROP TABLE wt") << 0;
    QTest::newRow("repeat count missing")
        << QStringLiteral("ALTER TABLE wt RENAME COLUMN repeate_count TO lost_count") << 0;
}

// A query that fails ends the computation: the means computed before it stay,
// the later ones are 0. The three sums are read in one pass, so a history that
// cannot be read leaves every index at 0.
void ThinkingIndicesTest::failingQueryThrowsAndKeepsEarlierValues()
{
    QFETCH(QString, damage);
    QFETCH(int, radio);
    useTemplatesOfWeights1_2_5();
    store({{1, 3, 1}});
    m_db->statements().execute(damage);

    ThinkingIndices indices{7, 8, 9, 10};
    QVERIFY_THROWS_EXCEPTION(DatabaseError, ComputeThinkingIndices(*m_db, indices));
    QCOMPARE(indices, (ThinkingIndices{radio, 0, 0, 0}));
}

void ThinkingIndicesTest::screenReadersHearEveryIndex_data()
{
    QTest::addColumn<ThinkingIndices>("indices");
    QTest::addColumn<QString>("description");
    QTest::newRow("empty history") << ThinkingIndices()
                                   << QStringLiteral("头脑发热值 0，思维发散值 0，联想发现值 0，思考守旧值 0");
    QTest::newRow("each its own") << ThinkingIndices{12, 7, 3, 14}
                                  << QStringLiteral("头脑发热值 14，思维发散值 12，联想发现值 7，思考守旧值 3");
}

// The chart's description reads its bars from the top down, each with its value.
void ThinkingIndicesTest::screenReadersHearEveryIndex()
{
    QFETCH(ThinkingIndices, indices);
    QFETCH(QString, description);
    QCOMPARE(describeThinkingIndices(indices), description);
}

void ThinkingIndicesTest::documentsExplainEachIndexAlike_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("entry"); // "NAME" and "TEXT" stand for the index's name and explanation
    QTest::newRow("README") << QStringLiteral("README.md") << QStringLiteral("- NAME：TEXT\n");
    QTest::newRow("manual page") << QStringLiteral("packaging/zorvel.1") << QStringLiteral(".B NAME\nTEXT\n");
}

// The README and the manual page explain the indices in the words that the
// evaluation window and the report use.
void ThinkingIndicesTest::documentsExplainEachIndexAlike()
{
    QFETCH(QString, document);
    QFETCH(QString, entry);
    QFile file(QStringLiteral(ZORVEL_SOURCE_DIR "/") + document);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The manual page marks where a line may break in Chinese text ("\\:").
    const QString text = QString::fromUtf8(file.readAll()).remove(QStringLiteral("\\:"));
    for (const ThinkingIndexKind &kind : thinkingIndexKinds()) {
        QString expected = entry;
        expected.replace(QStringLiteral("NAME"), kind.name).replace(QStringLiteral("TEXT"), kind.explanation);
        QVERIFY2(text.contains(expected), qPrintable(expected));
    }
    QCOMPARE(thinkingIndicesExplanation().count(u'\n'), 3);
}

QTEST_GUILESS_MAIN(ThinkingIndicesTest)
#include "tst_thinkingindices.moc"
