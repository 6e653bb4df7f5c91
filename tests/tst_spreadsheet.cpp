// SPDX-License-Identifier: GPL-3.0-or-later
#include "databasefixture.h"
#include "fakeclock.h"
#include "temporaryhome.h"

#include "report/historyexport.h"
#include "store/database.h"
#include "store/historyrows.h"
#include "store/location.h"
#include "store/statements.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"

#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// The cells of the first sheet of a flat OpenDocument spreadsheet, row by row,
// each as its value type and value ("date" "2026-12-09T14:30:00", "float" "5",
// "string" "张三", "" "" for an empty cell).
struct Cell
{
    QString type;
    QString value;
};

QList<QList<Cell>> readSheet(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QList<QList<Cell>> rows;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"table-row") {
            rows.append(QList<Cell>());
        } else if (xml.name() == u"table-cell" && !rows.isEmpty()) {
            const QXmlStreamAttributes attributes = xml.attributes();
            const QString type = attributes.value(QStringLiteral("office:value-type")).toString();
            QString value = attributes.value(QStringLiteral("office:value")).toString();
            if (type == u"date")
                value = attributes.value(QStringLiteral("office:date-value")).toString();
            else if (type == u"string")
                value = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            const int repeated = qMax(1, attributes.value(QStringLiteral("table:number-columns-repeated")).toInt());
            for (int i = 0; i < repeated && rows.last().size() < 64; ++i)
                rows.last().append({type, value});
        }
    }
    return rows;
}

} // namespace

// The export as a teacher opens it: in LibreOffice Calc, with the import
// options a double click on a UTF-8 file picks.
class SpreadsheetTest : public QObject
{
    Q_OBJECT

private slots:
    void scoresSumToTheTotalAndTimesAreDates();
};

void SpreadsheetTest::scoresSumToTheTotalAndTimesAreDates()
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        QSKIP("LibreOffice is not installed (scripts/install-deps.sh installs libreoffice-calc-nogui)");
    TemporaryHome home;
    const QString dataPath = home.path() + QStringLiteral("/data/张三.mdb");
    {
        Database db;
        FakeClock clock;
        RandomSource random(5);
        TrainingEngine engine(db, dataPath, clock, random);
        engine.start();
        const QStringList words{QStringLiteral("写字"), QStringLiteral("画画"), QStringLiteral("垫桌脚"),
                                QStringLiteral("当镇纸"), QStringLiteral("送人")};
        for (int q = 0; q < 12; ++q) {
            engine.startNewQuestion();
            for (int a = 0; a <= q % 3; ++a) {
                clock.advance(5);
                engine.submitAnswer(words.at((q + a) % words.size()));
            }
        }
        engine.finish();
    }
    Database db;
    db.open(BuildConnectionString(dataPath), Database::Untouched);
    const qint64 total = historyTotals(db).score;
    QVERIFY(total > 0);
    const int answers = historyTotals(db).answers;
    const QString csv = home.path() + QStringLiteral("/answers.csv");
    QString error;
    QVERIFY2(writeAnswersCsv(db, csv, error), qPrintable(error));

    const QString out = home.path() + QStringLiteral("/out");
    QProcess calc;
    calc.start(
        office,
        {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(home.path() + QStringLiteral("/lo")).toString(),
         QStringLiteral("--headless"), QStringLiteral("--infilter=CSV:44,34,76,1"), QStringLiteral("--convert-to"),
         QStringLiteral("fods"), QStringLiteral("--outdir"), out, csv});
    QVERIFY(calc.waitForFinished(240000));
    const QList<QList<Cell>> rows = readSheet(out + QStringLiteral("/answers.fods"));
    QVERIFY2(rows.size() > answers, qPrintable(QString::fromLocal8Bit(calc.readAll())));

    // The header, then a row per answer: the pupil, the question's id and time, ...
    QCOMPARE(rows.first().value(0).value, QStringLiteral("学生"));
    const qsizetype scoreColumn = 7;
    double sum = 0;
    for (qsizetype i = 1; i <= answers; ++i) {
        const QList<Cell> &row = rows.at(i);
        QCOMPARE(row.value(0).value, QStringLiteral("张三"));
        QCOMPARE(row.value(2).type, QStringLiteral("date"));
        QVERIFY(QDateTime::fromString(row.value(2).value, Qt::ISODate).isValid());
        const Cell score = row.value(scoreColumn);
        QVERIFY2(score.type == u"float" || score.type.isEmpty(), qPrintable(score.type));
        sum += score.value.toDouble();
    }
    QCOMPARE(sum, double(total));
}

QTEST_GUILESS_MAIN(SpreadsheetTest)
#include "tst_spreadsheet.moc"
