// SPDX-License-Identifier: GPL-3.0-or-later
// Times one accepted answer and one new question through the training engine on
// a large history, the thinking indices over it, and the engine's start on it.

#include "benchhistory.h"
#include "fakeclock.h"
#include "recordingview.h"
#include "temporaryhome.h"

#include "evaluate/thinkingindices.h"
#include "store/database.h"
#include "store/location.h"
#include "store/statements.h"
#include "training/questiongeneration.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

// Wall and CPU times of one kind of step.
struct Timings
{
    QList<double> wall;
    QList<double> cpu;
    void add(const BenchStopwatch &watch)
    {
        cpu.append(watch.cpuMicroseconds());
        wall.append(watch.wallMicroseconds());
    }
    void print(QTextStream &out, const QString &name) const
    {
        out << describeTimings(name, wall) << Qt::endl;
        out << describeTimings(name + QStringLiteral(", CPU"), cpu) << Qt::endl;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    TemporaryHome home;

    const BenchHistory size;
    constexpr int measuredAnswers = 3000;
    constexpr int measuredQuestions = 1000;

    Database db;
    OpenDatabase(db);
    QElapsedTimer build;
    build.start();
    const QStringList fresh = buildBenchHistory(db, size, measuredAnswers);
    out << "history: " << size.questions << " questions, " << size.answers << " answers, " << size.words
        << " words, built in " << build.elapsed() << " ms" << Qt::endl;

    RecordingView view;
    FakeClock clock;
    RandomSource random(7);
    TrainingEngine engine(db, clock, random);
    engine.setView(view);

    // The start on a large history: the header check, the open and the clean
    // start that discards unanswered questions.
    Timings startTimes;
    for (int i = 0; i < 10; ++i) {
        engine.finish();
        const BenchStopwatch watch;
        engine.start();
        startTimes.add(watch);
    }

    // What the program reads ahead at its first idle moment: the averages' sums
    // and the words of each class.
    ThinkingIndices readAhead;
    ComputeThinkingIndices(db, readAhead);
    PickRandomWord(db, random, 1);

    Timings questionTimes;
    for (int i = 0; i < measuredQuestions; ++i) {
        const BenchStopwatch watch;
        engine.startNewQuestion();
        questionTimes.add(watch);
    }

    // Half of the answers are new words, half are words of the grown dictionary.
    Timings answerTimes;
    for (int i = 0; i < measuredAnswers; ++i) {
        if (i % 50 == 0)
            engine.startNewQuestion();
        const QString answer = i % 2
            ? fresh.at(i)
            : db.statements().scalar(QStringLiteral("SELECT name FROM ci WHERE id = ?"), {200 + i * 31}).toString();
        clock.advance(10); // every answer comes well after the one before it
        const BenchStopwatch watch;
        engine.submitAnswer(answer);
        answerTimes.add(watch);
        if (view.records.last().verdict != Verdict::Accepted)
            out << "unexpected verdict for " << answer << Qt::endl;
    }

    Timings indexTimes;
    for (int i = 0; i < 20; ++i) {
        ThinkingIndices indices;
        const BenchStopwatch watch;
        ComputeThinkingIndices(db, indices);
        indexTimes.add(watch);
    }

    answerTimes.print(out, QStringLiteral("accepted answer"));
    questionTimes.print(out, QStringLiteral("new question"));
    indexTimes.print(out, QStringLiteral("thinking indices"));
    startTimes.print(out, QStringLiteral("engine start"));
    return 0;
}
