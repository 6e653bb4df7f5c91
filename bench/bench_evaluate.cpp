// SPDX-License-Identifier: GPL-3.0-or-later
// Time from a click on "评价" to the evaluation window painted, on a history of
// 100,000 questions and 1,000,000 answers: the three averages, the chart filled,
// the window shown and its chart painted once.

#include "benchhistory.h"
#include "temporaryhome.h"

#include "app/application.h"
#include "evaluate/tfrmevaluate.h"
#include "store/database.h"
#include "store/location.h"

#include <QApplication>
#include <QTextStream>

namespace {

// Notes the first paint of the watched widget.
class PaintWatcher final : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
    bool painted = false;
};

// Wall and CPU time, in microseconds.
std::pair<double, double> openAndPaint(Database &db)
{
    const BenchStopwatch watch;
    TfrmEvaluate window(db);
    PaintWatcher watcher;
    QWidget *chart = window.findChild<QWidget *>(QStringLiteral("chartEvaluate"));
    chart->installEventFilter(&watcher);
    window.show();
    while (!watcher.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const std::pair<double, double> elapsed{watch.wallMicroseconds(), watch.cpuMicroseconds()};
    window.close();
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    TemporaryHome home;
    QApplication app(argc, argv);
    configureApplication(app);
    QTextStream out(stdout);

    Database db;
    OpenDatabase(db);
    buildBenchHistory(db, BenchHistory(), 0);

    // The first window pays for loading fonts once, and for what the program
    // reads ahead at its first idle moment.
    const auto [firstWall, firstCpu] = openAndPaint(db);
    out << "first window: " << firstWall / 1000.0 << " ms, CPU " << firstCpu / 1000.0 << " ms" << Qt::endl;
    QList<double> wall;
    QList<double> cpu;
    for (int i = 0; i < 30; ++i) {
        const auto [wallTime, cpuTime] = openAndPaint(db);
        wall.append(wallTime);
        cpu.append(cpuTime);
    }
    out << describeTimings(QStringLiteral("evaluation window, click to painted"), wall) << Qt::endl;
    out << describeTimings(QStringLiteral("evaluation window, click to painted, CPU"), cpu) << Qt::endl;
    return 0;
}
