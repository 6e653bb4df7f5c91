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
#include "training/randomsource.h"
#include "training/trainingengine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

double elapsedMicroseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1000.0;
}

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
    QList<double> startTimes;
    for (int i = 0; i < 10; ++i) {
        engine.finish();
        QElapsedTimer timer;
        timer.start();
        engine.start();
        startTimes.append(elapsedMicroseconds(timer));
    }

    QList<double> questionTimes;
    for (int i = 0; i < measuredQuestions; ++i) {
        QElapsedTimer timer;
        timer.start();
        engine.startNewQuestion();
        questionTimes.append(elapsedMicroseconds(timer));
    }

    // Half of the answers are new words, half are words of the grown dictionary.
    QList<double> answerTimes;
    for (int i = 0; i < measuredAnswers; ++i) {
        if (i % 50 == 0)
            engine.startNewQuestion();
        const QString answer = i % 2 ? fresh.at(i) : db.scalar(QStringLiteral("SELECT name FROM ci WHERE id = ?"),
                                                                {200 + i * 31}).toString();
        clock.advance(10); // every answer comes well after the one before it
        QElapsedTimer timer;
        timer.start();
        engine.submitAnswer(answer);
        answerTimes.append(elapsedMicroseconds(timer));
        if (view.records.last().verdict != Verdict::Accepted)
            out << "unexpected verdict for " << answer << Qt::endl;
    }

    QList<double> indexTimes;
    for (int i = 0; i < 20; ++i) {
        ThinkingIndices indices;
        QElapsedTimer timer;
        timer.start();
        ComputeThinkingIndices(db, indices);
        indexTimes.append(elapsedMicroseconds(timer));
    }

    out << describeTimings(QStringLiteral("accepted answer"), answerTimes) << Qt::endl;
    out << describeTimings(QStringLiteral("new question"), questionTimes) << Qt::endl;
    out << describeTimings(QStringLiteral("thinking indices"), indexTimes) << Qt::endl;
    out << describeTimings(QStringLiteral("engine start"), startTimes) << Qt::endl;
    return 0;
}
