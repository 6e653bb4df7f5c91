// SPDX-License-Identifier: GPL-3.0-or-later
// The background check of the whole file (quick_check on a read-only connection
// of its own) on a history of 100,000 questions and 1,000,000 answers: how long
// it runs, and how long a write that comes meanwhile waits for it.

#include "benchhistory.h"
#include "temporaryhome.h"

#include "store/database.h"
#include "store/integritycheck.h"
#include "store/location.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char *argv[])
{
    TemporaryHome home;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QString path;
    {
        Database db;
        OpenDatabase(db);
        buildBenchHistory(db, BenchHistory(), 0);
        path = db.filePath();
    }
    out << "history file: " << QFileInfo(path).size() / (1024 * 1024) << " MiB\n";
    QList<double> checks;
    for (int run = 0; run < 5; ++run) {
        IntegrityCheck check(path, BuildConnectionString(path).connectOptions);
        QElapsedTimer wall;
        wall.start();
        const IntegrityCheck::Outcome outcome = check.wait();
        checks.append(double(wall.nsecsElapsed()) / 1000.0);
        if (outcome != IntegrityCheck::Whole) {
            out << "the check did not find the file whole\n";
            return 1;
        }
    }
    out << describeTimings(QStringLiteral("quick_check, whole file"), checks) << '\n';
    return 0;
}
