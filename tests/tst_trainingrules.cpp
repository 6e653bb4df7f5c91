// SPDX-License-Identifier: GPL-3.0-or-later
#include "training/answerchecking.h"
#include "training/casefolding.h"
#include "training/gbk.h"
#include "training/questiontext.h"
#include "training/randomsource.h"
#include "training/scoring.h"
#include "training/trainingstate.h"

#include <QStringEncoder>
#include <QtTest>

#include <algorithm>

// The pure rules of the training loop: trimming, timing, verdicts, scoring,
// the Chinese-text rule on GBK bytes, question text and random draws.
class TrainingRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void trimAnswer_data();
    void trimAnswer();
    void tooFast_data();
    void tooFast();
    void verdictFor_data();
    void verdictFor();
    void submissionNumbersIgnoreCaseAndUseTheLatestEntry();
    void caseFoldingAgreesOnBothSides_data();
    void caseFoldingAgreesOnBothSides();
    void scoreAfterAnswers_data();
    void scoreAfterAnswers();
    void chineseText_data();
    void chineseText();
    void gbkLength_data();
    void gbkLength();
    void gbkTableAgreesWithIcu();
    void fillQuestionTemplate_data();
    void fillQuestionTemplate();
    void randomInRangeStaysInRange_data();
    void randomInRangeStaysInRange();
    void randomInRangeIsUniform();
    void seededSourcesRepeat();
    void resetKeepsTheAnswerListAndFlashColour();
};

void TrainingRulesTest::trimAnswer_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringLiteral("桌子") << QStringLiteral("桌子");
    QTest::newRow("blanks around") << QStringLiteral("  桌子 ") << QStringLiteral("桌子");
    QTest::newRow("tabs and control characters") << QStringLiteral("\t\x01桌子\r\n") << QStringLiteral("桌子");
    QTest::newRow("blank inside stays") << QStringLiteral(" 桌 子 ") << QStringLiteral("桌 子");
    QTest::newRow("full-width blank stays") << QStringLiteral("\u3000桌子\u3000") << QStringLiteral("\u3000桌子\u3000");
    QTest::newRow("blank only") << QStringLiteral("   ") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TrainingRulesTest::trimAnswer()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(::trimAnswer(text), expected);
}

void TrainingRulesTest::tooFast_data()
{
    QTest::addColumn<qint64>("last");
    QTest::addColumn<qint64>("now");
    QTest::addColumn<bool>("expected");
    QTest::newRow("no answer yet") << qint64(0) << qint64(1) << false;
    QTest::newRow("same second") << qint64(100) << qint64(100) << true;
    QTest::newRow("1 second") << qint64(100) << qint64(101) << true;
    QTest::newRow("2 seconds") << qint64(100) << qint64(102) << true;
    QTest::newRow("3 seconds") << qint64(100) << qint64(103) << false;
    QTest::newRow("an hour") << qint64(100) << qint64(3700) << false;
}

void TrainingRulesTest::tooFast()
{
    QFETCH(qint64, last);
    QFETCH(qint64, now);
    QFETCH(bool, expected);
    QCOMPARE(isTooFast(last, now), expected);
}

void TrainingRulesTest::verdictFor_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<int>("number");
    QTest::addColumn<Verdict>("expected");
    QTest::newRow("Chinese, first") << true << 1 << Verdict::Accepted;
    QTest::newRow("Chinese, second") << true << 2 << Verdict::Repeated;
    QTest::newRow("Chinese, third") << true << 3 << Verdict::Persistent;
    QTest::newRow("Chinese, tenth") << true << 10 << Verdict::Persistent;
    QTest::newRow("other, first") << false << 1 << Verdict::Invalid;
    QTest::newRow("other, second") << false << 2 << Verdict::Persistent;
}

void TrainingRulesTest::verdictFor()
{
    QFETCH(bool, chinese);
    QFETCH(int, number);
    QFETCH(Verdict, expected);
    QCOMPARE(::verdictFor(chinese, number), expected);
}

void TrainingRulesTest::submissionNumbersIgnoreCaseAndUseTheLatestEntry()
{
    QList<GivenAnswer> given;
    QCOMPARE(countSubmission(given, QStringLiteral("ｂｉｇ"), false), 1);
    QCOMPARE(countSubmission(given, QStringLiteral("ＢＩＧ"), true), 2);
    QCOMPARE(countSubmission(given, QStringLiteral("桌子"), false), 1);
    QCOMPARE(countSubmission(given, QStringLiteral("ｂｉＧ"), true), 3);
    // A text the store does not hold starts again at 1, whatever the list says.
    QCOMPARE(countSubmission(given, QStringLiteral("ｂｉｇ"), false), 1);
    QCOMPARE(countSubmission(given, QStringLiteral("ｂｉｇ"), true), 2);
    QCOMPARE(given.size(), 6);
    // Held by the store but never listed: counted as a second submission.
    QCOMPARE(countSubmission(given, QStringLiteral("椅子"), true), 2);
}

// The answer list and the store judge two spellings the same answer alike: the
// list through foldCase(), the store by looking up caseVariants(). The store
// is asked only for double-byte spellings, as no stored word holds a single byte.
void TrainingRulesTest::caseFoldingAgreesOnBothSides_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("sameAnswer");
    QTest::addColumn<QStringList>("spellingsOfSecond");
    const auto row = [](const char *name, const char *first, const char *second, bool same,
                        std::initializer_list<const char *> spellings) {
        QStringList list;
        for (const char *spelling : spellings)
            list.append(QString::fromUtf8(spelling));
        QTest::newRow(name) << QString::fromUtf8(first) << QString::fromUtf8(second) << same << list;
    };
    row("full-width Latin", "ａＢ", "Ａｂ", true, {"Ａｂ", "ａｂ", "ＡＢ", "ａＢ"});
    row("Greek", "α", "Α", true, {"Α", "α"});
    row("Cyrillic", "ё", "Ё", true, {"Ё", "ё"});
    row("Roman numerals", "ⅳ", "Ⅳ", true, {"Ⅳ", "ⅳ"});
    row("between Chinese characters", "维生素ｃ片", "维生素Ｃ片", true, {"维生素Ｃ片", "维生素ｃ片"});
    row("ASCII letters", "abc", "ABC", true, {"ABC"});
    row("width is not case", "ａ", "A", false, {"A"});
    row("Ⅺ has no small form in the code page", "ⅺ", "Ⅺ", true, {"Ⅺ"});
    row("no cased letter", "桌子", "桌子", true, {"桌子"});
    QStringList eightLetters; // an answer box full of them
    for (int cases = 0; cases < 256; ++cases) {
        QString spelling;
        for (int i = 0; i < 8; ++i)
            spelling += QChar(char16_t((cases >> i & 1 ? u'ａ' : u'Ａ') + i));
        eightLetters.append(spelling);
    }
    QTest::newRow("eight letters") << QStringLiteral("ａｂｃｄｅｆｇｈ") << QStringLiteral("ＡＢＣＤＥＦＧＨ") << true
                                   << eightLetters;
    row("more spellings than an answer box can hold", "ａｂｃｄｅｆｇｈｉ", "ＡＢＣＤＥＦＧＨＩ", true,
        {"ＡＢＣＤＥＦＧＨＩ"});
}

void TrainingRulesTest::caseFoldingAgreesOnBothSides()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, sameAnswer);
    QFETCH(QStringList, spellingsOfSecond);
    QList<GivenAnswer> given;
    countSubmission(given, first, false);
    QCOMPARE(countSubmission(given, first, true), 2);
    QCOMPARE(countSubmission(given, second, true), sameAnswer ? 3 : 2);
    QCOMPARE(foldCase(first) == foldCase(second), sameAnswer);

    const QStringList spellings = caseVariants(second);
    QCOMPARE(QSet<QString>(spellings.cbegin(), spellings.cend()),
             QSet<QString>(spellingsOfSecond.cbegin(), spellingsOfSecond.cend()));
    QCOMPARE(spellings.first(), second);
    for (const QString &spelling : spellings)
        QCOMPARE(foldCase(spelling), foldCase(second));
}

void TrainingRulesTest::scoreAfterAnswers_data()
{
    QTest::addColumn<int>("answers");
    QTest::addColumn<int>("expected");
    const QList<std::pair<int, int>> rows{{0, 0},   {1, 3},   {19, 57}, {20, 60},  {21, 62},
                                          {29, 78}, {30, 80}, {31, 81}, {50, 100}, {1000, 1050}};
    for (const auto &[answers, score] : rows)
        QTest::addRow("%d answers", answers) << answers << score;
}

void TrainingRulesTest::scoreAfterAnswers()
{
    QFETCH(int, answers);
    QFETCH(int, expected);
    TrainingState state;
    for (int i = 0; i < answers; ++i) {
        const int before = state.score;
        const int returned = RaiseScore(state);
        QCOMPARE(returned, state.score);
        QVERIFY(state.score > before);
    }
    QCOMPARE(state.score, expected);
}

void TrainingRulesTest::chineseText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("GB2312 word") << QStringLiteral("桌子") << true;
    QTest::newRow("empty text") << QString() << true;
    QTest::newRow("full-width letters and digits") << QStringLiteral("ＡＢＣ１２３") << true;
    QTest::newRow("full-width punctuation") << QStringLiteral("你好！？") << true;
    QTest::newRow("full-width blank") << QStringLiteral("桌\u3000子") << true;
    QTest::newRow("ASCII letters") << QStringLiteral("abc") << false;
    QTest::newRow("ASCII digits") << QStringLiteral("123") << false;
    QTest::newRow("blank inside") << QStringLiteral("桌 子") << false;
    QTest::newRow("mixed") << QStringLiteral("桌子a") << false;
    QTest::newRow("quote") << QStringLiteral("'") << false;
    QTest::newRow("SQL text") << QStringLiteral("'; drop table ci; --") << false;
    QTest::newRow("percent") << QStringLiteral("%") << false;
    QTest::newRow("emoji outside GBK") << QStringLiteral("桌子😀") << false;
    QTest::newRow("Thai outside GBK") << QStringLiteral("\u0e01") << false;
    QTest::newRow("GBK trail byte 0x40") << QStringLiteral("丂") << false; // 81 40
}

void TrainingRulesTest::chineseText()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(IsChineseText(text), expected);
}

namespace {

bool allLeadBytes(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x81 && uchar(c) <= 0xFE; });
}

} // namespace

// Each row gives the text's bytes in code page 936; the byte count and the
// Chinese-text rule must follow from them.
void TrainingRulesTest::gbkLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("GB2312") << QStringLiteral("桌子") << QByteArray::fromHex("d7c0d7d3");
    QTest::newRow("ASCII") << QStringLiteral("ab") << QByteArray("ab");
    QTest::newRow("trail below 0x81") << QStringLiteral("丂") << QByteArray::fromHex("8140");
    QTest::newRow("trail byte 0x80") << QStringLiteral("亐") << QByteArray::fromHex("8180");
    QTest::newRow("euro sign is the single byte 0x80") << QStringLiteral("€") << QByteArray::fromHex("80");
    QTest::newRow("unencodable becomes ?") << QStringLiteral("😀\u0e01") << QByteArray("??");
    QTest::newRow("full-width A") << QStringLiteral("Ａ") << QByteArray::fromHex("a3c1");
    QTest::newRow("private use area") << QStringLiteral("\ue000") << QByteArray::fromHex("aaa1");
    QTest::newRow("zero-width space before") << QStringLiteral("\u200b桌子") << QByteArray::fromHex("3fd7c0d7d3");
    QTest::newRow("zero-width joiner inside") << QStringLiteral("桌\u200d子") << QByteArray::fromHex("d7c03fd7d3");
    QTest::newRow("bidi override") << QStringLiteral("\u202e中文") << QByteArray::fromHex("3fd6d0cec4");
    QTest::newRow("byte order mark") << QStringLiteral("\ufeff中") << QByteArray::fromHex("3fd6d0");
    QTest::newRow("invisible outside the BMP") << QStringLiteral("中\U000E0041") << QByteArray::fromHex("d6d03f");
    QTest::newRow("lone high surrogate") << QStringLiteral("中文") + QChar(0xD800) << QByteArray::fromHex("d6d0cec43f");
    QTest::newRow("lone low surrogate first") << QChar(0xDC00) + QStringLiteral("中") << QByteArray::fromHex("3fd6d0");
}

void TrainingRulesTest::gbkLength()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(::gbkLength(text), bytes.size());
    QCOMPARE(IsChineseText(text), allLeadBytes(bytes));
    const QList<uint> characters = text.toUcs4();
    if (characters.size() == 1)
        QCOMPARE(isGbkDoubleByte(characters.first()), bytes.size() == 2);
}

// Zorvel's own table against ICU's GBK, where this Qt has it: every code point of
// the Basic Multilingual Plane but the surrogates. The few invisible characters
// that ICU drops without a trace are "?" in the table.
void TrainingRulesTest::gbkTableAgreesWithIcu()
{
    QStringEncoder icu("GBK");
    if (!icu.isValid())
        QSKIP("This Qt is built without ICU and has no GBK encoder to compare with");
    QStringList disagreements;
    for (char32_t codePoint = 0; codePoint <= 0xFFFF; ++codePoint) {
        if (QChar::isSurrogate(codePoint))
            continue;
        const QChar character{char16_t(codePoint)};
        const QStringView text(&character, 1);
        QByteArray bytes = icu.encode(text);
        if (bytes.isEmpty())
            bytes = "?";
        if (::gbkLength(text) != bytes.size() || IsChineseText(text) != allLeadBytes(bytes)
            || isGbkDoubleByte(codePoint) != (bytes.size() == 2))
            disagreements.append(QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0')));
    }
    QVERIFY2(disagreements.isEmpty(), qPrintable(disagreements.mid(0, 20).join(QLatin1Char(' '))));
}

void TrainingRulesTest::fillQuestionTemplate_data()
{
    QTest::addColumn<QString>("templateText");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QuestionText>("expected");
    QTest::newRow("slot filled") << QStringLiteral("请列举#的作用") << QStringLiteral("桌子")
                                 << QuestionText{QStringLiteral("请列举"), QStringLiteral("桌子"),
                                                 QStringLiteral("的作用")};
    QTest::newRow("slot at the end") << QStringLiteral("请列举与动作#") << QStringLiteral("跑步")
                                     << QuestionText{QStringLiteral("请列举与动作"), QStringLiteral("跑步"), QString()};
    QTest::newRow("second slot filled too") << QStringLiteral("#和#") << QStringLiteral("笔")
                                            << QuestionText{QString(), QStringLiteral("笔"), QStringLiteral("和笔")};
    QTest::newRow("no word keeps the slot") << QStringLiteral("请列举#的作用") << QString()
                                            << QuestionText{QStringLiteral("请列举#的作用"), QString(), QString()};
    QTest::newRow("no slot") << QStringLiteral("请列举你认识的花") << QString()
                             << QuestionText{QStringLiteral("请列举你认识的花"), QString(), QString()};
}

void TrainingRulesTest::fillQuestionTemplate()
{
    QFETCH(QString, templateText);
    QFETCH(QString, word);
    QFETCH(QuestionText, expected);
    QCOMPARE(::fillQuestionTemplate(templateText, word), expected);
}

void TrainingRulesTest::randomInRangeStaysInRange_data()
{
    QTest::addColumn<int>("high");
    QTest::newRow("one value") << 1;
    QTest::newRow("templates") << 23;
    QTest::newRow("beyond 2147") << 5000;
    QTest::newRow("huge") << std::numeric_limits<int>::max();
}

void TrainingRulesTest::randomInRangeStaysInRange()
{
    QFETCH(int, high);
    RandomSource random(7);
    int largest = 0;
    for (int i = 0; i < 20000; ++i) {
        const int value = random.RandomInRange(1, high);
        QVERIFY(value >= 1 && value <= high);
        largest = std::max(largest, value);
    }
    if (high >= 5000)
        QVERIFY2(largest > high / 2, "draws cover the upper half of a large range");
    QCOMPARE(random.RandomInRange(5, 5), 5);
    QCOMPARE(random.RandomInRange(5, 4), 5);
}

void TrainingRulesTest::randomInRangeIsUniform()
{
    // Chi-square test of 23 equally likely outcomes; with 22 degrees of freedom the
    // 99.9 % quantile is 48.27. The seed is fixed, so the test does not depend on luck.
    constexpr int outcomes = 23;
    constexpr int draws = 230000;
    RandomSource random(20261208);
    QList<int> counts(outcomes, 0);
    for (int i = 0; i < draws; ++i)
        ++counts[random.RandomInRange(1, outcomes) - 1];
    const double expected = double(draws) / outcomes;
    double chiSquare = 0;
    for (int count : counts)
        chiSquare += (count - expected) * (count - expected) / expected;
    QVERIFY2(chiSquare < 48.27, qPrintable(QString::number(chiSquare)));
}

void TrainingRulesTest::seededSourcesRepeat()
{
    RandomSource a(42);
    RandomSource b(42);
    for (int i = 0; i < 100; ++i)
        QCOMPARE(a.RandomInRange(1, 1000), b.RandomInRange(1, 1000));
}

void TrainingRulesTest::resetKeepsTheAnswerListAndFlashColour()
{
    TrainingState state{7, 3, 111, 62, 21, 4, {{QStringLiteral("桌子"), 1}}, 5000, FlashColor::Lime};
    ResetTrainingState(state);
    QCOMPARE(state.questionId, 0);
    QCOMPARE(state.answerClassId, 0);
    QCOMPARE(state.wordId, 0);
    QCOMPARE(state.score, 0);
    QCOMPARE(state.answerCount, 0);
    QCOMPARE(state.repeatCount, 0);
    QCOMPARE(state.lastAnswerSecond, 0);
    QCOMPARE(state.givenAnswers.size(), 1);
    QCOMPARE(state.flashColor, FlashColor::Lime);
}

QTEST_GUILESS_MAIN(TrainingRulesTest)
#include "tst_trainingrules.moc"
