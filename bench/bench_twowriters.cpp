// SPDX-License-Identifier: GPL-3.0-or-later
// Two training sessions, in two processes, write one database file at once for a
// while (60 s unless a number of seconds is given), each answering as fast as
// its clock allows. Reports the commands that failed, the answers that were
// accepted but are not in the file, the slowest command, and whether the file
// is still whole.

#include "databasefixture.h"
#include "temporaryhome.h"

#include "store/database.h"
#include "store/location.h"
#include "store/statements.h"

#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

#include <array>
#include <memory>

namespace {

QHash<QString, QString> summaryOf(const QString &output)
{
    QHash<QString, QString> fields;
    const QRegularExpressionMatch line =
        QRegularExpression(QStringLiteral("^summary (.*)$"), QRegularExpression::MultilineOption).match(output);
    for (const QString &field : line.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        fields.insert(field.section(QLatin1Char('='), 0, 0), field.section(QLatin1Char('='), 1));
    return fields;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 60;
    TemporaryHome home;
    {
        Database db;
        OpenDatabase(db);
    }

    std::array<std::unique_ptr<QProcess>, 2> writers;
    for (int i = 0; i < int(writers.size()); ++i) {
        writers[i] = std::make_unique<QProcess>();
        writers[i]->start(QStringLiteral(TRAINING_CHILD),
                          {QStringLiteral("--seed"), QString::number(100 + i), QStringLiteral("--seconds"),
                           QString::number(seconds), QStringLiteral("--wait-for-go")});
    }
    for (auto &writer : writers) {
        while (!writer->canReadLine() && writer->waitForReadyRead(30000)) {
        }
        if (writer->readLine().trimmed() != "ready") {
            out << "a writer did not start: " << writer->readAllStandardError() << Qt::endl;
            return 1;
        }
    }
    for (auto &writer : writers) {
        writer->write("go\n");
        writer->waitForBytesWritten(10000);
    }

    int commands = 0;
    int failed = 0;
    int accepted = 0;
    double slowestMs = 0;
    QString firstFailure;
    for (auto &writer : writers) {
        writer->waitForFinished((seconds + 60) * 1000);
        const QString output = QString::fromUtf8(writer->readAllStandardOutput());
        const QHash<QString, QString> summary = summaryOf(output);
        commands += summary.value(QStringLiteral("commands")).toInt();
        failed += summary.value(QStringLiteral("failed")).toInt();
        accepted += summary.value(QStringLiteral("accepted")).toInt();
        slowestMs = std::max(slowestMs, summary.value(QStringLiteral("slowest_ms")).toDouble());
        const QRegularExpressionMatch failure =
            QRegularExpression(QStringLiteral("^failed (.*)$"), QRegularExpression::MultilineOption).match(output);
        if (firstFailure.isEmpty() && failure.hasMatch())
            firstFailure = failure.captured(1);
    }

    Database db;
    OpenDatabase(db);
    const int stored = DatabaseFixture::count(db, QStringLiteral("hd"));
    const int miscounted = DatabaseFixture::count(
        db, QStringLiteral("wt"),
        QStringLiteral("coalesce(answer_count, 0) <> (SELECT count(*) FROM hd WHERE hd.wtid = wt.id)"));
    out << "two writers for " << seconds << " s: " << commands << " commands, " << failed << " failed ("
        << QString::number(commands ? 100.0 * failed / commands : 0, 'f', 2) << " %)" << Qt::endl;
    out << "answers: " << accepted << " accepted, " << stored << " in the file, " << accepted - stored << " lost"
        << Qt::endl;
    out << "slowest command: " << QString::number(slowestMs, 'f', 1) << " ms" << Qt::endl;
    out << "file: integrity " << db.statements().scalar(QStringLiteral("PRAGMA integrity_check")).toString() << ", "
        << miscounted << " questions whose answer count disagrees with their answers" << Qt::endl;
    if (!firstFailure.isEmpty())
        out << "first failure: " << firstFailure << Qt::endl;
    return 0;
}
