// SPDX-License-Identifier: GPL-3.0-or-later
// A backup, the export of the answers and the progress report, each timed once
// and measured in bytes, on a history of 100,000 questions and 1,000,000 answers.

#include "benchhistory.h"
#include "temporaryhome.h"

#include "report/historyexport.h"
#include "report/progressreport.h"
#include "store/database.h"
#include "store/historycopy.h"
#include "store/location.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

namespace {

void report(QTextStream &out, const QString &what, const QElapsedTimer &timer, const QString &file)
{
    out << what << ": " << QString::number(double(timer.nsecsElapsed()) / 1e6, 'f', 0) << " ms, "
        << QString::number(double(QFileInfo(file).size()) / 1e3, 'f', 0) << " kB\n";
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    TemporaryHome home;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    Database db;
    OpenDatabase(db);
    buildBenchHistory(db, BenchHistory(), 0);
    out << "history: " << QString::number(double(QFileInfo(db.filePath()).size()) / 1e6, 'f', 1) << " MB\n";

    const QString backup = home.path() + QStringLiteral("/backup.mdb");
    QElapsedTimer timer;
    timer.start();
    writeHistoryCopy(db, backup);
    report(out, QStringLiteral("backup"), timer, backup);

    const QString csv = home.path() + QStringLiteral("/answers.csv");
    QString error;
    timer.restart();
    if (!writeAnswersCsv(db, csv, error))
        out << "export failed: " << error << '\n';
    report(out, QStringLiteral("export"), timer, csv);

    const QString page = home.path() + QStringLiteral("/report.html");
    timer.restart();
    if (!writeProgressReport(db, page, error))
        out << "report failed: " << error << '\n';
    report(out, QStringLiteral("report"), timer, page);
    return 0;
}
