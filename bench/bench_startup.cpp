// SPDX-License-Identifier: GPL-3.0-or-later
// Time from process start to the main window's first frame, the CPU time spent
// until then and the memory the process holds at that frame: the real zorvel program on a first start (it
// creates and seeds its database) and on a later start, beside a bare Qt window
// of the same size for comparison. With --before <program>, another build of
// zorvel (say, of the main branch) is measured in the same run, its starts
// alternating with this build's, and the table gives the change.
//
//   bench_startup [--samples N] [--instructions] [--before <path to another zorvel>]
//
// Needs a display (for example under xvfb-run). Each sample is a child process;
// a probe library loaded into it (LD_PRELOAD) reports the first frame, so the
// programs measured are the ones that are installed, unchanged.
// bench/compare_startup.sh builds a revision and runs this beside it.
//
// With --instructions, each program instead starts once under callgrind, and the
// table gives the instructions it ran until its first frame: a figure that the
// load of the machine does not move.

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <algorithm>
#include <tuple>

namespace {

qint64 monotonicMs()
{
    return QDeadlineTimer::current(Qt::PreciseTimer).deadline();
}

// A bare window of the main window's size, with or without one Chinese label:
// what any Qt program pays for a first frame.
int runBareWindow(int argc, char *argv[], bool withText)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(362, 474);
    if (withText) {
        // Any text pays for the font database and the CJK face once.
        auto *label = new QLabel(QStringLiteral("回答记录："), &window);
        label->move(16, 16);
    }
    window.show();
    return app.exec();
}

struct Sample
{
    double startMs = 0;
    double cpuMs = 0;
    double peakMb = 0;
    double residentMb = 0;
};

struct Series
{
    QString name;
    QList<Sample> samples;
};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

double medianOf(const Series &series, double Sample::*field)
{
    QList<double> values;
    for (const Sample &sample : series.samples)
        values.append(sample.*field);
    return median(values);
}

// A start in `home`, with the probe that reports the first frame loaded.
QProcessEnvironment probeEnvironment(const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FIRST_FRAME_PROBE));
    return environment;
}

// One start of a program with the probe loaded.
Sample measure(const QString &program, const QStringList &arguments, const QString &home)
{
    QProcess child;
    child.setProcessEnvironment(probeEnvironment(home));
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 started = monotonicMs();
    child.start(program, arguments);
    if (!child.waitForFinished(30000))
        child.kill();
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split('\n').constLast().split(' ');
    if (fields.size() != 4) {
        QTextStream(stderr) << "no first frame from " << program << '\n';
        return {};
    }
    return {double(fields[0].toLongLong() - started), fields[3].toDouble() / 1000, fields[1].toDouble() / 1024,
            fields[2].toDouble() / 1024};
}

// The instructions of one start under callgrind, from the first instruction of the
// process to the first frame (the probe ends the program there).
double instructionsToFirstFrame(const QString &program, const QStringList &arguments, const QString &home)
{
    QProcess child;
    child.setProcessEnvironment(probeEnvironment(home));
    child.start(
        QStringLiteral("valgrind"),
        QStringList{QStringLiteral("--tool=callgrind"), QStringLiteral("--callgrind-out-file=/dev/null"), program}
            + arguments);
    if (!child.waitForFinished(300000))
        child.kill();
    // "==1234== Collected : 91123456"
    const QByteArray log = child.readAllStandardError();
    const qsizetype at = log.lastIndexOf("Collected :");
    if (at < 0) {
        QTextStream(stderr) << "no callgrind count from " << program << '\n';
        return 0;
    }
    return log.mid(at + 11, log.indexOf('\n', at) - at - 11).trimmed().toDouble();
}

QString formatted(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

void printTable(const QList<Series> &all)
{
    QTextStream out(stdout);
    out << "median of " << all.first().samples.size()
        << " starts; time from process start to the first frame, CPU time and memory at that frame\n\n";
    out << "| Start | Time (ms) | CPU (ms) | Peak RSS (MB) | RSS (MB) |\n|---|---:|---:|---:|---:|\n";
    for (const Series &series : all) {
        out << "| " << series.name << " | " << formatted(medianOf(series, &Sample::startMs), 0) << " | "
            << formatted(medianOf(series, &Sample::cpuMs), 0) << " | "
            << formatted(medianOf(series, &Sample::peakMb), 1) << " | "
            << formatted(medianOf(series, &Sample::residentMb), 1) << " |\n";
    }
}

// "before" and "after" series stand side by side in the list, before first.
void printChanges(const QList<Series> &all)
{
    QTextStream out(stdout);
    out << "\n| Change, before → after | Time | CPU | Peak RSS | RSS |\n|---|---:|---:|---:|---:|\n";
    for (qsizetype i = 0; i + 1 < all.size(); ++i) {
        if (!all[i].name.startsWith(QStringLiteral("before")))
            continue;
        const auto change = [&](double Sample::*field) {
            const double before = medianOf(all[i], field);
            return formatted(100.0 * (medianOf(all[i + 1], field) - before) / before, 1) + QStringLiteral(" %");
        };
        out << "| " << all[i].name.mid(8) << " | " << change(&Sample::startMs) << " | " << change(&Sample::cpuMs)
            << " | " << change(&Sample::peakMb) << " | " << change(&Sample::residentMb) << " |\n";
    }
}

// One start of each under callgrind: the labelled window and, for each build, a
// first and a later start.
int printInstructions(const QString &self, const QString &before, const QString &after)
{
    QTemporaryDir beforeHome, afterHome, firstBefore, firstAfter;
    QList<std::pair<QString, double>> rows;
    rows.append(
        {QStringLiteral("the window with one Chinese label"),
         instructionsToFirstFrame(self, {QStringLiteral("--child"), QStringLiteral("bare-text")}, afterHome.path())});
    for (const auto &[name, program, home, first] :
         {std::tuple{QStringLiteral("before"), before, beforeHome.path(), firstBefore.path()},
          std::tuple{QStringLiteral("after"), after, afterHome.path(), firstAfter.path()}}) {
        if (program.isEmpty())
            continue;
        rows.append({name + QStringLiteral(": first start"), instructionsToFirstFrame(program, {}, first)});
        measure(program, {}, home); // makes the file that a later start finds
        rows.append({name + QStringLiteral(": later start"), instructionsToFirstFrame(program, {}, home)});
    }
    const double floor = rows.first().second;
    QTextStream out(stdout);
    out << "instructions from process start to the first frame, under callgrind\n\n"
        << "| Start | Instructions (M) | × labelled window |\n|---|---:|---:|\n";
    for (const auto &[name, instructions] : rows) {
        out << "| " << name << " | " << formatted(instructions / 1e6, 1) << " | "
            << formatted(floor > 0 ? instructions / floor : 0, 2) << " |\n";
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return runBareWindow(argc, argv, QByteArray(argv[2]) == "bare-text");

    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype samplesAt = arguments.indexOf(QStringLiteral("--samples"));
    const int samples = samplesAt > 0 ? arguments.value(samplesAt + 1).toInt() : 21;
    const qsizetype beforeAt = arguments.indexOf(QStringLiteral("--before"));
    const QString before = beforeAt > 0 ? QFileInfo(arguments.value(beforeAt + 1)).absoluteFilePath() : QString();
    const QString after = QStringLiteral(ZORVEL_PROGRAM);
    const QString self = QCoreApplication::applicationFilePath();
    if (arguments.contains(QStringLiteral("--instructions")))
        return printInstructions(self, before, after);

    Series bare{QStringLiteral("bare Qt window 362x474"), {}};
    Series bareText{QStringLiteral("the same with one Chinese label"), {}};
    Series beforeFirst{QStringLiteral("before: first start"), {}}, afterFirst{QStringLiteral("after: first start"), {}};
    Series beforeLater{QStringLiteral("before: later start"), {}}, afterLater{QStringLiteral("after: later start"), {}};

    // Each build has a home of its own for its later starts, its file made once.
    QTemporaryDir beforeHome, afterHome;
    if (!before.isEmpty())
        measure(before, {}, beforeHome.path());
    measure(after, {}, afterHome.path());

    for (int i = 0; i < samples; ++i) {
        QTemporaryDir firstHome1, firstHome2;
        bare.samples.append(measure(self, {QStringLiteral("--child"), QStringLiteral("bare")}, afterHome.path()));
        bareText.samples.append(
            measure(self, {QStringLiteral("--child"), QStringLiteral("bare-text")}, afterHome.path()));
        // The two builds take turns at going first, so that a drift of the machine
        // falls on both alike.
        const bool beforeGoesFirst = i % 2 == 0;
        if (!before.isEmpty() && beforeGoesFirst) {
            beforeFirst.samples.append(measure(before, {}, firstHome1.path()));
            beforeLater.samples.append(measure(before, {}, beforeHome.path()));
        }
        afterFirst.samples.append(measure(after, {}, firstHome2.path()));
        afterLater.samples.append(measure(after, {}, afterHome.path()));
        if (!before.isEmpty() && !beforeGoesFirst) {
            beforeFirst.samples.append(measure(before, {}, firstHome1.path()));
            beforeLater.samples.append(measure(before, {}, beforeHome.path()));
        }
    }

    QList<Series> all{bare, bareText};
    if (before.isEmpty()) {
        afterFirst.name = QStringLiteral("Zorvel, first start");
        afterLater.name = QStringLiteral("Zorvel, later start");
        all << afterFirst << afterLater;
        printTable(all);
        return 0;
    }
    all << beforeFirst << afterFirst << beforeLater << afterLater;
    printTable(all);
    printChanges(all);
    QTextStream(stdout) << "\nbefore: " << before << "\nafter:  " << after << '\n';
    return 0;
}
