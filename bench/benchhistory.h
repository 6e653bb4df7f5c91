// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Database;

// Builds a large training history for the benchmarks, straight into the store:
// questions with their statistics, accepted-answer links and a grown dictionary.
struct BenchHistory
{
    int questions = 100000;
    int answers = 1000000;
    int words = 100000;
};

// Fills an open, freshly seeded database. Returns distinct GB2312 words that are
// not yet in the dictionary, for answers that the benchmark submits.
QStringList buildBenchHistory(Database &db, const BenchHistory &size, int freshWordCount);

// Median and 99th percentile of a list of durations in microseconds.
QString describeTimings(const QString &name, QList<double> microseconds);

// Wall time and the CPU time of the calling thread, in microseconds, from one
// start: the CPU time is what other load on the machine hardly changes.
class BenchStopwatch
{
public:
    BenchStopwatch();
    double wallMicroseconds() const;
    double cpuMicroseconds() const;

private:
    qint64 m_wallStart;
    qint64 m_cpuStart;
};
