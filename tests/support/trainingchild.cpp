// SPDX-License-Identifier: GPL-3.0-or-later
// A training session driven as fast as its clock allows, for the tests and
// benchmarks that kill it or run two of it on one file. It uses the database in
// the data folder of its HOME and prints, flushed line by line:
//   ready                      once the engine has started
//   accepted <n>               after each accepted answer has been committed (--report-each)
//   failed <text>              for each command that failed
//   summary commands=… failed=… accepted=… questions=… slowest_ms=…
//                              at the end of a run with --seconds
// Options: --seed <n>, --seconds <s> (0: until killed), --wait-for-go (wait for a
// line on standard input after "ready"), --report-each.

#include "fakeclock.h"
#include "recordingview.h"

#include "store/database.h"
#include "store/databaseerror.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

namespace {

struct Options
{
    quint32 seed = 1;
    int seconds = 0;
    bool waitForGo = false;
    bool reportEach = false;
};

Options parse(const QStringList &arguments)
{
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QStringLiteral("--seed") && i + 1 < arguments.size())
            options.seed = arguments.at(++i).toUInt();
        else if (argument == QStringLiteral("--seconds") && i + 1 < arguments.size())
            options.seconds = arguments.at(++i).toInt();
        else if (argument == QStringLiteral("--wait-for-go"))
            options.waitForGo = true;
        else if (argument == QStringLiteral("--report-each"))
            options.reportEach = true;
    }
    return options;
}

void say(const QString &line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
}

// Three-character words, mostly new to the dictionary, some of them given twice.
QString answerWord(RandomSource &random)
{
    static const QString stems = QStringLiteral("甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥春夏秋冬东南西北金木水火土"
                                                "山川河海风云雷电花草树木");
    QString word;
    for (int i = 0; i < 3; ++i)
        word += stems.at(random.RandomInRange(0, int(stems.size()) - 1));
    return word;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const Options options = parse(app.arguments());

    Database db;
    FakeClock clock;
    RandomSource random(options.seed);
    RecordingView view;
    TrainingEngine engine(db, clock, random);
    engine.setView(view);
    try {
        engine.start();
    } catch (const DatabaseError &error) {
        say(QStringLiteral("failed ") + error.text());
        return 2;
    }
    say(QStringLiteral("ready"));
    if (options.waitForGo) {
        char line[16];
        if (!std::fgets(line, sizeof line, stdin))
            return 0;
    }

    const QDeadlineTimer deadline = options.seconds > 0 ? QDeadlineTimer(options.seconds * 1000)
                                                        : QDeadlineTimer::Forever;
    int commands = 0;
    int failed = 0;
    int accepted = 0;
    int questions = 0;
    qint64 slowestNs = 0;
    while (!deadline.hasExpired()) {
        const bool newQuestion = commands % 20 == 0;
        QElapsedTimer timer;
        timer.start();
        try {
            if (newQuestion) {
                engine.startNewQuestion();
                ++questions;
            } else {
                clock.advance(3);
                const int records = int(view.records.size());
                engine.submitAnswer(answerWord(random));
                if (view.records.size() > records && view.records.last().verdict == Verdict::Accepted) {
                    ++accepted;
                    if (options.reportEach)
                        say(QStringLiteral("accepted %1").arg(accepted));
                }
            }
        } catch (const DatabaseError &error) {
            ++failed;
            say(QStringLiteral("failed ") + error.text().simplified());
        }
        slowestNs = std::max(slowestNs, timer.nsecsElapsed());
        ++commands;
    }
    engine.finish();
    say(QStringLiteral("summary commands=%1 failed=%2 accepted=%3 questions=%4 slowest_ms=%5")
            .arg(commands)
            .arg(failed)
            .arg(accepted)
            .arg(questions)
            .arg(double(slowestNs) / 1e6, 0, 'f', 1));
    return 0;
}
