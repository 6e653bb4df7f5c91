// SPDX-License-Identifier: GPL-3.0-or-later
#include "databasefixture.h"
#include "fakeclock.h"
#include "temporaryhome.h"

#include "app/historycommands.h"
#include "app/singleinstance.h"
#include "evaluate/thinkingindices.h"
#include "report/calendarticks.h"
#include "report/classreport.h"
#include "report/csvwriting.h"
#include "report/historyexport.h"
#include "report/progressperiods.h"
#include "report/progressreport.h"
#include "report/pupil.h"
#include "report/svglinechart.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "store/historycopy.h"
#include "store/historyrows.h"
#include "store/statements.h"
#include "store/location.h"
#include "store/pupilname.h"
#include "training/historybackups.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtTest>

using DatabaseFixture::dump;
using DatabaseFixture::fileBytes;

namespace {

// A history of `questions` questions with a few answers each, some of them
// words used before, made through the engine as a session would. A larger
// vocabulary gives new words for longer.
void trainOn(const QString &path, int questions, quint32 seed = 7, int vocabulary = 6)
{
    Database db;
    FakeClock clock;
    RandomSource random(seed);
    TrainingEngine engine(db, path, clock, random);
    engine.start();
    const QStringList words{QStringLiteral("写字"),   QStringLiteral("画画"), QStringLiteral("垫桌脚"),
                            QStringLiteral("当镇纸"), QStringLiteral("送人"), QStringLiteral("做标记")};
    for (int q = 0; q < questions; ++q) {
        engine.startNewQuestion();
        for (int a = 0; a <= q % 4; ++a) {
            clock.advance(5);
            const int word = vocabulary > words.size() ? (q * 2 + a) % vocabulary : (q + a) % int(words.size());
            engine.submitAnswer(word < words.size() ? words.at(word)
                                                    : QString(QChar(0x5c71 + word)) + QChar(0x6c34 + 3 * word));
        }
    }
    engine.finish();
}

QString dumpOf(const QString &path)
{
    Database db;
    db.open(BuildConnectionString(path), Database::Untouched);
    return dump(db);
}

QString integrityOf(const QString &path)
{
    Database db;
    db.open(BuildConnectionString(path), Database::Untouched);
    return db.statements().scalar(QStringLiteral("PRAGMA integrity_check")).toString();
}

// Every file under the folder with its bytes, to show that nothing changed.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files.insert(file, fileBytes(file));
    }
    return files;
}

// A small parser that follows RFC 4180, to read the export as a spreadsheet would.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"')
                field += c, ++i;
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            record.append(field), field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            record.append(field), field.clear();
            records.append(record), record.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

// The value of the element with the id in an HTML page.
int valueWithId(const QString &html, const QString &id)
{
    const QRegularExpression cell(QStringLiteral("id=\"%1\"[^>]*>\\s*(-?\\d+)\\s*<").arg(id));
    const QRegularExpressionMatch match = cell.match(html);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

ThinkingIndices evaluationOf(const QString &path)
{
    Database db;
    db.open(BuildConnectionString(path), Database::Untouched);
    ThinkingIndices indices;
    ComputeThinkingIndices(db, indices);
    return indices;
}

ThinkingIndices indicesInPage(const QString &html)
{
    ThinkingIndices indices;
    indices.radioIndex = valueWithId(html, QStringLiteral("radioIndex"));
    indices.newWordIndex = valueWithId(html, QStringLiteral("newWordIndex"));
    indices.oldWordIndex = valueWithId(html, QStringLiteral("oldWordIndex"));
    indices.heatIndex = valueWithId(html, QStringLiteral("heatIndex"));
    return indices;
}

// Changes the file with plain SQL, as another program might.
void runSql(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("raw-sql");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            QVERIFY2(query.exec(statement), qPrintable(statement + query.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

// Backups, restore, export and the progress report of a history.
class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void backupNames_data();
    void backupNames();
    void backupsOfOneFile_data();
    void backupsOfOneFile();
    void oldestBackupsGo_data();
    void oldestBackupsGo();
    void clearKeepsABackupFirst();
    void clearKeepsTheNewestTen();
    void twoPupilsKeepTenBackupsEach();
    void backupAndRestoreRoundTrip();
    void refusedRestoreChangesNothing_data();
    void refusedRestoreChangesNothing();
    void restoreIntoAFolderWithoutHistory();
    void csvFields_data();
    void csvFields();
    void exportReadsBackAsTheDatabase();
    void pupilNames_data();
    void pupilNames();
    void pupilNameKeptInTheFile();
    void periodStarts_data();
    void periodStarts();
    void periodIndicesFoldLikeTheEvaluation_data();
    void periodIndicesFoldLikeTheEvaluation();
    void pausesAreGaps_data();
    void pausesAreGaps();
    void calendarAxisTicks_data();
    void calendarAxisTicks();
    void labelsStayWhole_data();
    void labelsStayWhole();
    void classReportHasARowPerPupil();
    void reportShowsTheEvaluationsIndices();
    void reportIsSelfContained();
    void axisMaximum_data();
    void axisMaximum();
    void reportRendersInChromium();
    void commandsNeedNoDisplay_data();
    void commandsNeedNoDisplay();

private:
    QString dataPath() const { return m_home->path() + QStringLiteral("/data/Zorvel.mdb"); }
    std::unique_ptr<TemporaryHome> m_home;
};

void HistoryTest::init()
{
    m_home = std::make_unique<TemporaryHome>();
}

void HistoryTest::cleanup()
{
    m_home.reset();
}

void HistoryTest::backupNames_data()
{
    QTest::addColumn<QString>("dataFile");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name");
    const QString own = QStringLiteral("/data/Zorvel.mdb");
    QTest::newRow("first of its second") << own << QStringList{} << QStringLiteral("Zorvel-20260102-030405.mdb");
    QTest::newRow("second of its second") << own << QStringList{QStringLiteral("Zorvel-20260102-030405.mdb")}
                                          << QStringLiteral("Zorvel-20260102-030405-2.mdb");
    QTest::newRow("third of its second") << own
                                         << QStringList{QStringLiteral("Zorvel-20260102-030405.mdb"),
                                                        QStringLiteral("Zorvel-20260102-030405-2.mdb")}
                                         << QStringLiteral("Zorvel-20260102-030405-3.mdb");
    QTest::newRow("another second taken") << own << QStringList{QStringLiteral("Zorvel-20260102-030404.mdb")}
                                          << QStringLiteral("Zorvel-20260102-030405.mdb");
    QTest::newRow("a pupil's file") << QStringLiteral("/class/张三.mdb") << QStringList{}
                                    << QStringLiteral("张三-20260102-030405.mdb");
    QTest::newRow("a name with dots and dashes")
        << QStringLiteral("/class/li.si-2.mdb") << QStringList{} << QStringLiteral("li.si-2-20260102-030405.mdb");
    QTest::newRow("a file without .mdb") << QStringLiteral("/class/wang") << QStringList{}
                                         << QStringLiteral("wang-20260102-030405.mdb");
}

void HistoryTest::backupNames()
{
    QFETCH(QString, dataFile);
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    QCOMPARE(backupFileName(dataFile, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)), existing), name);
}

// Backups of several histories, and other files, in one folder.
const QStringList sharedBackupsFolder{QStringLiteral("Zorvel-20260102-030405.mdb"),
                                      QStringLiteral("张三-20260102-030405.mdb"),
                                      QStringLiteral("张三-20260102-030405-2.mdb"),
                                      QStringLiteral("张三-2-20260102-030405.mdb"),
                                      QStringLiteral("张三-2-20260102-030405-7.mdb"),
                                      QStringLiteral("张三-notes.mdb"),
                                      QStringLiteral("张三-20260102-030405.mdb.Ab12Cd.part"),
                                      QStringLiteral("a.b-20260102-030405.mdb"),
                                      QStringLiteral("axb-20260102-030405.mdb")};

void HistoryTest::backupsOfOneFile_data()
{
    QTest::addColumn<QString>("dataFile");
    QTest::addColumn<QStringList>("mine");
    QTest::newRow("own file") << QStringLiteral("Zorvel.mdb")
                              << QStringList{QStringLiteral("Zorvel-20260102-030405.mdb")};
    QTest::newRow("a pupil") << QStringLiteral("张三.mdb")
                             << QStringList{QStringLiteral("张三-20260102-030405-2.mdb"),
                                            QStringLiteral("张三-20260102-030405.mdb")};
    QTest::newRow("a pupil whose name goes on")
        << QStringLiteral("张三-2.mdb")
        << QStringList{QStringLiteral("张三-2-20260102-030405-7.mdb"), QStringLiteral("张三-2-20260102-030405.mdb")};
    QTest::newRow("a dot is a dot") << QStringLiteral("a.b.mdb")
                                    << QStringList{QStringLiteral("a.b-20260102-030405.mdb")};
    QTest::newRow("nobody's") << QStringLiteral("李四.mdb") << QStringList{};
}

void HistoryTest::backupsOfOneFile()
{
    QFETCH(QString, dataFile);
    QFETCH(QStringList, mine);
    const QString folder = m_home->path() + QStringLiteral("/backups");
    QVERIFY(QDir().mkpath(folder));
    for (const QString &name : sharedBackupsFolder)
        QVERIFY(DatabaseFixture::writeBytes(folder + u'/' + name, "x"));
    QStringList found = backupFilesIn(folder, m_home->path() + u'/' + dataFile);
    found.sort();
    mine.sort();
    QCOMPARE(found, mine);
}

void HistoryTest::oldestBackupsGo_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("keep");
    QTest::addColumn<QStringList>("removed");
    const auto name = [](const char *stamp) { return QStringLiteral("Zorvel-%1.mdb").arg(QLatin1StringView(stamp)); };
    QTest::newRow("fewer than kept") << QStringList{name("20260101-000000")} << 10 << QStringList{};
    QTest::newRow("one too many") << QStringList{name("20260102-000000"), name("20260101-000000"),
                                                 name("20260103-000000")}
                                  << 2 << QStringList{name("20260101-000000")};
    // "-2" sorts before ".mdb" by name, yet was written after it; "-10" after "-9".
    QTest::newRow("same second") << QStringList{name("20260101-000000-2"), name("20260101-000000"),
                                                name("20260101-000000-10"), name("20260101-000000-9")}
                                 << 2 << QStringList{name("20260101-000000"), name("20260101-000000-2")};
    QTest::newRow("across years") << QStringList{name("20261231-235959"), name("20270101-000000")} << 1
                                  << QStringList{name("20261231-235959")};
}

void HistoryTest::oldestBackupsGo()
{
    QFETCH(QStringList, names);
    QFETCH(int, keep);
    QFETCH(QStringList, removed);
    QCOMPARE(backupsBeyond(names, keep), removed);
}

// The clear writes a whole copy of the history before it deletes anything.
void HistoryTest::clearKeepsABackupFirst()
{
    trainOn(dataPath(), 6);
    const QString before = dumpOf(dataPath());
    {
        Database db;
        FakeClock clock;
        RandomSource random(1);
        TrainingEngine engine(db, dataPath(), clock, random);
        engine.start();
        engine.clearAllRecords();
        engine.finish();
    }
    const QString folder = QFileInfo(dataPath()).path() + QStringLiteral("/backups");
    const QStringList backups = QDir(folder).entryList(QDir::Files);
    QCOMPARE(backups.size(), 1);
    const QString backup = folder + u'/' + backups.first();
    QCOMPARE(integrityOf(backup), QStringLiteral("ok"));
    QCOMPARE(dumpOf(backup), before);
    QVERIFY(dumpOf(dataPath()) != before);
}

void HistoryTest::clearKeepsTheNewestTen()
{
    Database db;
    FakeClock clock;
    RandomSource random(1);
    TrainingEngine engine(db, dataPath(), clock, random);
    engine.start();
    for (int i = 0; i < keptBackups + 3; ++i)
        engine.clearAllRecords();
    engine.finish();
    const QStringList backups = backupFilesIn(QFileInfo(dataPath()).path() + QStringLiteral("/backups"), dataPath());
    QCOMPARE(backups.size(), keptBackups);
    // All were written within a few seconds: the survivors are the last ten of their seconds.
    QStringList sorted = backups;
    std::sort(sorted.begin(), sorted.end(), backupIsOlder);
    QVERIFY(backupsBeyond(sorted, keptBackups).isEmpty());
    QVERIFY(!QDir(QFileInfo(dataPath()).path() + QStringLiteral("/backups"))
                 .entryList(QDir::Files)
                 .join(u' ')
                 .contains(QStringLiteral(".part")));
}

// Two pupils' files in one folder, cleared in turn: each keeps its own newest
// ten, named after it, whatever the other's clears did.
void HistoryTest::twoPupilsKeepTenBackupsEach()
{
    const QString folder = m_home->path() + QStringLiteral("/class");
    const QStringList pupils{folder + QStringLiteral("/张三.mdb"), folder + QStringLiteral("/张三-2.mdb")};
    FakeClock clock;
    RandomSource random(1);
    std::vector<std::unique_ptr<Database>> files;
    std::vector<std::unique_ptr<TrainingEngine>> engines;
    for (const QString &pupil : pupils) {
        files.push_back(std::make_unique<Database>());
        engines.push_back(std::make_unique<TrainingEngine>(*files.back(), pupil, clock, random));
        engines.back()->start();
    }
    for (int i = 0; i < keptBackups + 2; ++i) {
        for (auto &engine : engines)
            engine->clearAllRecords();
    }
    for (auto &engine : engines)
        engine->finish();
    const QStringList all = QDir(folder + QStringLiteral("/backups")).entryList(QDir::Files);
    QCOMPARE(all.size(), 2 * keptBackups);
    for (const QString &pupil : pupils) {
        const QStringList own = backupFilesIn(folder + QStringLiteral("/backups"), pupil);
        QCOMPARE(own.size(), keptBackups);
        const QString prefix = QFileInfo(pupil).completeBaseName() + u'-';
        QCOMPARE(own.filter(QRegularExpression(u'^' + QRegularExpression::escape(prefix) + QStringLiteral("\\d{8}-"))),
                 own);
    }
}

// A backup made while the history is open, restored after more training: the
// history is again what the backup holds, whole, and what it replaced is kept.
void HistoryTest::backupAndRestoreRoundTrip()
{
    trainOn(dataPath(), 8);
    const QString copy = m_home->path() + QStringLiteral("/copy.mdb");
    {
        // Open as a running Zorvel has it, with answers in its log.
        Database running;
        OpenDatabase(running, dataPath());
        QCOMPARE(runHistoryCommand(HistoryCommand::Backup, copy, dataPath()), 0);
        QCOMPARE(dump(running), dumpOf(copy));
    }
    const QString backedUp = dumpOf(copy);
    QCOMPARE(integrityOf(copy), QStringLiteral("ok"));
    QVERIFY(DatabaseFixture::filesBeside(copy).filter(QStringLiteral("copy.mdb-")).isEmpty());

    trainOn(dataPath(), 3, 99);
    const QString replaced = dumpOf(dataPath());
    QVERIFY(replaced != backedUp);
    QCOMPARE(runHistoryCommand(HistoryCommand::Restore, copy, dataPath()), 0);
    QCOMPARE(dumpOf(dataPath()), backedUp);
    QCOMPARE(integrityOf(dataPath()), QStringLiteral("ok"));
    const QStringList kept = backupFilesIn(QFileInfo(dataPath()).path() + QStringLiteral("/backups"), dataPath());
    QCOMPARE(kept.size(), 1);
    QCOMPARE(dumpOf(QFileInfo(dataPath()).path() + QStringLiteral("/backups/") + kept.first()), replaced);
    QVERIFY(DatabaseFixture::filesBeside(dataPath()).filter(QStringLiteral(".part")).isEmpty());

    // The restored history trains on.
    trainOn(dataPath(), 2, 5);
    QCOMPARE(integrityOf(dataPath()), QStringLiteral("ok"));
}

void HistoryTest::refusedRestoreChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("another program's database") << QStringLiteral("foreign");
    QTest::newRow("a newer Zorvel's history") << QStringLiteral("newer");
    QTest::newRow("cut short") << QStringLiteral("cut short");
    QTest::newRow("a damaged page") << QStringLiteral("damaged page");
    QTest::newRow("a table missing") << QStringLiteral("table missing");
    QTest::newRow("a log beside it") << QStringLiteral("log beside");
    QTest::newRow("not a database") << QStringLiteral("text");
    QTest::newRow("no such file") << QStringLiteral("missing");
    QTest::newRow("the history itself") << QStringLiteral("itself");
    QTest::newRow("while Zorvel runs") << QStringLiteral("running");
}

// Every refused restore leaves the history, its folder and the offered file as
// they were, byte for byte, and says why with exit code 1.
void HistoryTest::refusedRestoreChangesNothing()
{
    QFETCH(QString, kind);
    trainOn(dataPath(), 4);
    const QString offered = m_home->path() + QStringLiteral("/offered/offered.mdb");
    QVERIFY(QDir().mkpath(QFileInfo(offered).path()));
    QCOMPARE(runHistoryCommand(HistoryCommand::Backup, offered, dataPath()), 0);
    QString source = offered;
    if (kind == QStringLiteral("foreign")) {
        runSql(offered, {QStringLiteral("PRAGMA application_id = 1")});
    } else if (kind == QStringLiteral("newer")) {
        runSql(offered, {QStringLiteral("PRAGMA user_version = 99")});
    } else if (kind == QStringLiteral("cut short")) {
        QByteArray bytes = fileBytes(offered);
        QVERIFY(DatabaseFixture::writeBytes(offered, bytes.left(bytes.size() - 4096)));
    } else if (kind == QStringLiteral("damaged page")) {
        QByteArray bytes = fileBytes(offered);
        bytes.replace(bytes.size() - 4096, 4096, QByteArray(4096, '\x5a'));
        QVERIFY(DatabaseFixture::writeBytes(offered, bytes));
    } else if (kind == QStringLiteral("table missing")) {
        runSql(offered, {QStringLiteral("DROP TABLE hdpj")});
    } else if (kind == QStringLiteral("log beside")) {
        QVERIFY(DatabaseFixture::writeBytes(offered + QStringLiteral("-wal"), QByteArray(4096, '\x01')));
    } else if (kind == QStringLiteral("text")) {
        QVERIFY(DatabaseFixture::writeBytes(offered, "question,answer\n"));
    } else if (kind == QStringLiteral("missing")) {
        source = offered + QStringLiteral(".gone");
    } else if (kind == QStringLiteral("itself")) {
        source = dataPath();
    }
    std::unique_ptr<SingleInstance> running;
    if (kind == QStringLiteral("running")) {
        running = std::make_unique<SingleInstance>(dataPath());
        QCOMPARE(running->claim(), SingleInstance::First);
    }
    const QMap<QString, QByteArray> before = snapshot(m_home->path());
    QCOMPARE(runHistoryCommand(HistoryCommand::Restore, source, dataPath()), 1);
    const QMap<QString, QByteArray> after = snapshot(m_home->path());
    QCOMPARE(after.keys(), before.keys());
    QVERIFY(after == before);
}

void HistoryTest::restoreIntoAFolderWithoutHistory()
{
    trainOn(dataPath(), 3);
    const QString copy = m_home->path() + QStringLiteral("/copy.mdb");
    QCOMPARE(runHistoryCommand(HistoryCommand::Backup, copy, dataPath()), 0);
    const QString elsewhere = m_home->path() + QStringLiteral("/new computer/Zorvel/Zorvel.mdb");
    QCOMPARE(runHistoryCommand(HistoryCommand::Restore, copy, elsewhere), 0);
    QCOMPARE(dumpOf(elsewhere), dumpOf(dataPath()));
}

void HistoryTest::csvFields_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << QStringLiteral("写字") << QStringLiteral("写字");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("comma") << QStringLiteral("a,b") << QStringLiteral("\"a,b\"");
    QTest::newRow("quote") << QStringLiteral("say \"hi\"") << QStringLiteral("\"say \"\"hi\"\"\"");
    QTest::newRow("line feed") << QStringLiteral("a\nb") << QStringLiteral("\"a\nb\"");
    QTest::newRow("carriage return") << QStringLiteral("a\rb") << QStringLiteral("\"a\rb\"");
    QTest::newRow("space at the end") << QStringLiteral("a ") << QStringLiteral("\"a \"");
    QTest::newRow("Chinese comma stays") << QStringLiteral("甲，乙") << QStringLiteral("甲，乙");
}

void HistoryTest::csvFields()
{
    QFETCH(QString, value);
    QFETCH(QString, written);
    QCOMPARE(csvField(value), written);
    QCOMPARE(parseCsv(csvRecord({value, QStringLiteral("x")})), (QList<QStringList>{{value, QStringLiteral("x")}}));
}

// The export, read back with a CSV parser, holds exactly the accepted answers
// of the database, with their questions.
void HistoryTest::exportReadsBackAsTheDatabase()
{
    trainOn(dataPath(), 9);
    // A word as another program might have filed it: a comma, quotes, a line break.
    runSql(dataPath(),
           {QStringLiteral("UPDATE ci SET name = '做,\"标记\"' || char(13, 10) || '完'"
                           " WHERE id = (SELECT ciid FROM hd ORDER BY id LIMIT 1)")});
    const QString csv = m_home->path() + QStringLiteral("/answers.csv");
    QCOMPARE(runHistoryCommand(HistoryCommand::Export, csv, dataPath()), 0);
    const QByteArray bytes = fileBytes(csv);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> records = parseCsv(QString::fromUtf8(bytes.mid(3)));

    Database db;
    db.open(BuildConnectionString(dataPath()), Database::Untouched);
    QSqlQuery query(db.statements().connection());
    QVERIFY(query.exec(
        QStringLiteral("SELECT wt.id, wt.dotime, CASE wt.match_word WHEN '' THEN wtlx.neirong"
                       " ELSE replace(wtlx.neirong, '#', wt.match_word) END, wt.match_word,"
                       " (SELECT name FROM cx WHERE cx.id = wtlx.ppcxid), ci.name, wt.score"
                       " FROM hd, wt, wtlx, ci WHERE hd.wtid = wt.id AND wt.wtlxid = wtlx.id AND hd.ciid = ci.id"
                       " ORDER BY hd.id")));
    // The pupil first; the question's score on its first row only.
    QList<QStringList> expected{records.value(0)};
    QSet<QString> scored;
    qint64 sum = 0;
    while (query.next()) {
        QStringList row{QStringLiteral("Zorvel")};
        for (int column = 0; column < 6; ++column)
            row.append(query.value(column).toString());
        const bool first = !scored.contains(row.at(1));
        scored.insert(row.at(1));
        row.append(first ? query.value(6).toString() : QString());
        expected.append(row);
    }
    for (const QStringList &record : records.mid(1))
        sum += record.at(7).toLongLong();
    QCOMPARE(records.size(), DatabaseFixture::count(db, QStringLiteral("hd")) + 1);
    QCOMPARE(records, expected);
    QCOMPARE(records.first().size(), 8);
    QVERIFY(sum > 0);
    QCOMPARE(sum, historyTotals(db).score);
    QCOMPARE(sum, db.statements().scalar(QStringLiteral("SELECT sum(score) FROM wt")).toLongLong());
    QVERIFY(std::any_of(records.cbegin(), records.cend(), [](const QStringList &record) {
        return record.contains(QStringLiteral("做,\"标记\"\r\n完"));
    }));
}

void HistoryTest::pupilNames_data()
{
    const QString own = QStringLiteral("/home/wang/.local/share/Zorvel/Zorvel.mdb");
    QTest::addColumn<QString>("dataPath");
    QTest::addColumn<QString>("ownPath");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("pupil");
    QTest::newRow("another file") << QStringLiteral("/media/stick/张三.mdb") << own << QStringLiteral("wang")
                                  << QStringLiteral("张三");
    QTest::newRow("a dot in the name") << QStringLiteral("/class/李四.2026.mdb") << own << QStringLiteral("wang")
                                       << QStringLiteral("李四.2026");
    QTest::newRow("the own file") << own << own << QStringLiteral("wang") << QStringLiteral("wang");
    QTest::newRow("the own file by another way") << QStringLiteral("/home/wang/.local/share/../share/Zorvel/Zorvel.mdb")
                                                 << own << QStringLiteral("wang") << QStringLiteral("wang");
    QTest::newRow("the own file, account unknown") << own << own << QString() << QStringLiteral("Zorvel");
    QTest::newRow("another Zorvel.mdb") << QStringLiteral("/media/stick/Zorvel.mdb") << own << QStringLiteral("wang")
                                        << QStringLiteral("Zorvel");
    QTest::newRow("no data folder") << QStringLiteral("/class/王五.mdb") << QString() << QStringLiteral("wang")
                                    << QStringLiteral("王五");
}

void HistoryTest::pupilNames()
{
    QFETCH(QString, dataPath);
    QFETCH(QString, ownPath);
    QFETCH(QString, account);
    QFETCH(QString, pupil);
    QCOMPARE(defaultPupilName(dataPath, ownPath, account), pupil);
}

// The name lives in the file, travels with its copies, and a file without it,
// or with it, stays a whole history, also read-only.
void HistoryTest::pupilNameKeptInTheFile()
{
    trainOn(dataPath(), 4);
    {
        Database db;
        db.open(BuildConnectionString(dataPath()), Database::Untouched);
        QCOMPARE(storedPupilName(db), QString());
        QCOMPARE(pupilNameOf(db), QStringLiteral("Zorvel"));
    }
    const QMap<QString, QByteArray> before = snapshot(m_home->path());
    const QString tooLong(longestPupilName + 1, u'名');
    QCOMPARE(runHistoryCommand(HistoryCommand::Pupil, tooLong, dataPath()), 1);
    QCOMPARE(snapshot(m_home->path()), before);

    QCOMPARE(runHistoryCommand(HistoryCommand::Pupil, QStringLiteral("  王\n小明 "), dataPath()), 0);
    const QString copy = m_home->path() + QStringLiteral("/copy.mdb");
    QCOMPARE(runHistoryCommand(HistoryCommand::Backup, copy, dataPath()), 0);
    for (const QString &path : {dataPath(), copy}) {
        Database db;
        db.open(BuildConnectionString(path), Database::Untouched);
        QCOMPARE(db.access(), Database::ReadOnly);
        checkWholeHistory(db);
        QCOMPARE(pupilNameOf(db), QStringLiteral("王 小明"));
    }
    {
        Database db;
        QVERIFY(db.open(BuildConnectionString(dataPath())).isEmpty());
        QCOMPARE(db.access(), Database::Writable);
    }
    const QString csv = m_home->path() + QStringLiteral("/answers.csv");
    QCOMPARE(runHistoryCommand(HistoryCommand::Export, csv, dataPath()), 0);
    QCOMPARE(parseCsv(QString::fromUtf8(fileBytes(csv).mid(3))).value(1).value(0), QStringLiteral("王 小明"));
    const QString page = m_home->path() + QStringLiteral("/report.html");
    QCOMPARE(runHistoryCommand(HistoryCommand::Report, page, dataPath()), 0);
    QVERIFY(QString::fromUtf8(fileBytes(page)).contains(QStringLiteral("id=\"pupil\">王 小明<")));

    QCOMPARE(runHistoryCommand(HistoryCommand::Pupil, QString(), dataPath()), 0);
    Database db;
    db.open(BuildConnectionString(dataPath()), Database::Untouched);
    QCOMPARE(storedPupilName(db), QString());
}

void HistoryTest::periodStarts_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QDate>("week");
    QTest::addColumn<QDate>("month");
    QTest::newRow("a Monday") << QDate(2026, 12, 7) << QDate(2026, 12, 7) << QDate(2026, 12, 1);
    QTest::newRow("a Sunday") << QDate(2026, 12, 13) << QDate(2026, 12, 7) << QDate(2026, 12, 1);
    QTest::newRow("a week across the year") << QDate(2027, 1, 2) << QDate(2026, 12, 28) << QDate(2027, 1, 1);
    QTest::newRow("leap day") << QDate(2028, 2, 29) << QDate(2028, 2, 28) << QDate(2028, 2, 1);
}

void HistoryTest::periodStarts()
{
    QFETCH(QDate, day);
    QFETCH(QDate, week);
    QFETCH(QDate, month);
    QCOMPARE(periodStart(day, ProgressPeriod::Week), week);
    QCOMPARE(periodStart(day, ProgressPeriod::Month), month);
}

void HistoryTest::periodIndicesFoldLikeTheEvaluation_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::newRow("as trained") << QStringList{};
    QTest::newRow("halves to even") << QStringList{QStringLiteral("UPDATE wtlx SET fsqz = 1"),
                                                   QStringLiteral("UPDATE wt SET answer_count = 1 + id % 2")};
    QTest::newRow("repeat count unknown")
        << QStringList{QStringLiteral("UPDATE wt SET repeate_count = NULL WHERE id % 3 = 0")};
    QTest::newRow("weight unknown") << QStringList{QStringLiteral("UPDATE wtlx SET fsqz = NULL WHERE id % 2 = 0")};
    QTest::newRow("template gone") << QStringList{QStringLiteral("DELETE FROM wtlx WHERE id % 4 = 0")};
    QTest::newRow("repeats without answers")
        << QStringList{QStringLiteral("UPDATE wt SET answer_count = 0, repeate_count = 2 WHERE id % 2 = 0")};
    QTest::newRow("more repeats than answers")
        << QStringList{QStringLiteral("UPDATE wt SET repeate_count = answer_count + 3")};
    QTest::newRow("times unreadable") << QStringList{QStringLiteral("UPDATE wt SET dotime = 'soon' WHERE id = 1")};
}

// One period holding every question gives the evaluation's indices, whatever
// the file holds; and each month's questions give the month's.
void HistoryTest::periodIndicesFoldLikeTheEvaluation()
{
    QFETCH(QStringList, changes);
    trainOn(dataPath(), 12);
    if (!changes.isEmpty())
        runSql(dataPath(), changes);
    Database db;
    db.open(BuildConnectionString(dataPath()), Database::Untouched);
    ThinkingIndices evaluation;
    ComputeThinkingIndices(db, evaluation);
    const QList<WeightedQuestion> questions = weightedAnsweredQuestions(db);
    QCOMPARE(indicesOfQuestions(questions), evaluation);

    // All questions were asked today: one month, the evaluation's.
    const QList<PeriodIndices> months = indicesByPeriod(questions, ProgressPeriod::Month);
    if (changes.join(u' ').contains(QStringLiteral("dotime")))
        return;
    QCOMPARE(months.size(), 1);
    QCOMPARE(months.first().indices, evaluation);
}

namespace {

// A question of weight 1 with `answers` answers, asked on `day`.
WeightedQuestion questionOn(const QDate &day, qint64 answers)
{
    return {day.toString(QStringLiteral("yyyy-MM-dd 10:00:00")), true, false, answers, answers, 0};
}

} // namespace

void HistoryTest::pausesAreGaps_data()
{
    QTest::addColumn<QList<QDate>>("days");
    QTest::addColumn<ProgressPeriod>("period");
    QTest::addColumn<QList<int>>("stretchSizes");
    QTest::addColumn<QList<double>>("distances"); // in days, from each point to the next
    const QDate monday(2026, 10, 5);
    QTest::newRow("three weeks' pause") << QList<QDate>{monday, monday.addDays(9), monday.addDays(35)}
                                        << ProgressPeriod::Week << QList<int>{2, 1} << QList<double>{7, 28};
    QTest::newRow("two days of one week") << QList<QDate>{monday, monday.addDays(6), monday.addDays(7)}
                                          << ProgressPeriod::Week << QList<int>{2} << QList<double>{7};
    QTest::newRow("weeks across the new year") << QList<QDate>{QDate(2026, 12, 31), QDate(2027, 1, 4)}
                                               << ProgressPeriod::Week << QList<int>{2} << QList<double>{7};
    QTest::newRow("a month without practice")
        << QList<QDate>{QDate(2026, 10, 31), QDate(2026, 12, 1), QDate(2027, 1, 15)} << ProgressPeriod::Month
        << QList<int>{1, 2} << QList<double>{61, 31};
}

// Periods without questions leave a gap as long as they are; the others are
// joined.
void HistoryTest::pausesAreGaps()
{
    QFETCH(QList<QDate>, days);
    QFETCH(ProgressPeriod, period);
    QFETCH(QList<int>, stretchSizes);
    QFETCH(QList<double>, distances);
    QList<WeightedQuestion> questions;
    for (const QDate &day : days)
        questions.append(questionOn(day, 2));
    const QList<PeriodIndices> periods = indicesByPeriod(questions, period);
    const QList<QList<QPointF>> stretches = periodStretches(periods, period, &ThinkingIndices::radioIndex);
    QList<int> sizes;
    QList<QPointF> points;
    for (const QList<QPointF> &stretch : stretches) {
        sizes.append(int(stretch.size()));
        points += stretch;
    }
    QCOMPARE(sizes, stretchSizes);
    QList<double> between;
    for (qsizetype i = 1; i < points.size(); ++i)
        between.append(points.at(i).x() - points.at(i - 1).x());
    QCOMPARE(between, distances);
    QVERIFY(std::all_of(points.cbegin(), points.cend(), [](const QPointF &p) { return p.y() == 2; }));
}

void HistoryTest::calendarAxisTicks_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("most");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("one week") << QDate(2026, 12, 7) << QDate(2026, 12, 13) << 10
                              << QStringList{QStringLiteral("2026-12-07"), QStringLiteral("2026-12-14")};
    QTest::newRow("ten weeks") << QDate(2026, 10, 5) << QDate(2026, 12, 13) << 10
                               << QStringList{QStringLiteral("2026-11"), QStringLiteral("2026-12")};
    QTest::newRow("a year by two months")
        << QDate(2026, 1, 1) << QDate(2026, 12, 31) << 12
        << QStringList{QStringLiteral("2026-01"), QStringLiteral("2026-03"), QStringLiteral("2026-05"),
                       QStringLiteral("2026-07"), QStringLiteral("2026-09"), QStringLiteral("2026-11"),
                       QStringLiteral("2027-01")};
    QTest::newRow("ten years") << QDate(2017, 1, 2) << QDate(2026, 12, 31) << 5
                               << QStringList{QStringLiteral("2018"), QStringLiteral("2020"), QStringLiteral("2022"),
                                              QStringLiteral("2024"), QStringLiteral("2026")};
}

void HistoryTest::calendarAxisTicks()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, most);
    QFETCH(QStringList, labels);
    const TimeAxis axis = calendarAxis(from, to, most);
    QStringList written;
    for (const AxisTick &tick : axis.ticks) {
        written.append(tick.label);
        QVERIFY(tick.x >= axis.from && tick.x <= axis.to);
    }
    QCOMPARE(written, labels);
    QCOMPARE(axis.to - axis.from, double(from.daysTo(to) + 1));
}

void HistoryTest::labelsStayWhole_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("start");
    QTest::newRow("room on both sides") << 100.0 << 70.0;
    QTest::newRow("at the right end") << 715.0 << 660.0;
    QTest::newRow("at the left end") << 10.0 << 0.0;
}

// A label 60 wide within 0 to 720 is centred on its tick where it can be, and
// never cut at either end.
void HistoryTest::labelsStayWhole()
{
    QFETCH(double, x);
    QFETCH(double, start);
    QCOMPARE(labelStart(x, 10, 6, 0, 720), start);
}

// One page for the class: a row and a small chart for each pupil, the file
// that cannot be read named with its reason.
void HistoryTest::classReportHasARowPerPupil()
{
    const QString folder = m_home->path() + QStringLiteral("/class/");
    trainOn(folder + QStringLiteral("张三.mdb"), 4);
    trainOn(folder + QStringLiteral("李四.mdb"), 6, 11);
    QCOMPARE(runHistoryCommand(HistoryCommand::Pupil, QStringLiteral("李小四"), folder + QStringLiteral("李四.mdb")),
             0);
    const QString page = qEnvironmentVariable("ZORVEL_CLASS_HTML", m_home->path() + QStringLiteral("/class.html"));
    const QStringList files{folder + QStringLiteral("张三.mdb"), folder + QStringLiteral("李四.mdb"),
                            folder + QStringLiteral("王五.mdb")};
    QString error;
    QStringList unreadable;
    QVERIFY(writeClassReport(files, page, error, unreadable));
    QCOMPARE(unreadable.size(), 1);
    QVERIFY(unreadable.first().contains(QStringLiteral("王五.mdb")));
    const QString html = QString::fromUtf8(fileBytes(page));
    for (const char *name : {"张三", "李小四", "王五", "无法读取"})
        QVERIFY2(html.contains(QString::fromUtf8(name)), name);
    QCOMPARE(html.count(QStringLiteral("<svg")), 2);
    QCOMPARE(html.count(QStringLiteral("<tr>")), 4);
    // Both charts on one scale: the same top of the value axis.
    QStringList tops;
    for (const QString &chart : html.split(QStringLiteral("<svg")).mid(1)) {
        const QRegularExpression value(QStringLiteral("dy=\"4\">([0-9.]+)<"));
        QString top;
        for (const QRegularExpressionMatch &match : value.globalMatch(chart))
            top = match.captured(1);
        tops.append(top);
    }
    QCOMPARE(tops.size(), 2);
    QCOMPARE(tops.first(), tops.last());
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("王五.mdb")));

    // The program: files after --report, a wildcard that the program expands.
    QProcess program;
    program.start(QStringLiteral(ZORVEL_PROGRAM), {QStringLiteral("--report"), page, folder + QStringLiteral("*.mdb")});
    QVERIFY(program.waitForFinished(30000));
    const QString said = QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    QVERIFY2(program.exitCode() == 0 && said.contains(QStringLiteral("class overview of 2 histories")),
             qPrintable(said));
}

void HistoryTest::reportShowsTheEvaluationsIndices()
{
    trainOn(dataPath(), 10);
    const QString page = m_home->path() + QStringLiteral("/report.html");
    QCOMPARE(runHistoryCommand(HistoryCommand::Report, page, dataPath()), 0);
    const QString html = QString::fromUtf8(fileBytes(page));
    const ThinkingIndices evaluation = evaluationOf(dataPath());
    QVERIFY(evaluation.radioIndex > 0);
    QCOMPARE(indicesInPage(html), evaluation);
}

// Nothing is loaded from elsewhere and nothing runs: no scripts, no links, no
// external images or styles.
void HistoryTest::reportIsSelfContained()
{
    trainOn(dataPath(), 5);
    Database db;
    db.open(BuildConnectionString(dataPath()), Database::Untouched);
    const QString html = progressReportHtml(db, QDateTime(QDate(2026, 1, 1), QTime(8, 0)));
    for (const char *forbidden : {"<script", "src=", "href=", "@import", "url(", "<link", "<iframe", "<object"})
        QVERIFY2(!html.contains(QLatin1StringView(forbidden), Qt::CaseInsensitive), forbidden);
    QCOMPARE(html.count(QStringLiteral("<svg")), 2);
    QVERIFY(html.contains(QStringLiteral("@page{size:A4")));
}

void HistoryTest::axisMaximum_data()
{
    QTest::addColumn<double>("largest");
    QTest::addColumn<double>("maximum");
    QTest::newRow("nothing") << 0.0 << 1.0;
    QTest::newRow("one") << 1.0 << 1.0;
    QTest::newRow("just above one") << 1.5 << 2.0;
    QTest::newRow("to five") << 3.0 << 5.0;
    QTest::newRow("ten") << 10.0 << 10.0;
    QTest::newRow("to twenty") << 11.0 << 20.0;
    QTest::newRow("to a hundred") << 51.0 << 100.0;
}

void HistoryTest::axisMaximum()
{
    QFETCH(double, largest);
    QFETCH(double, maximum);
    QCOMPARE(::axisMaximum(largest), maximum);
}

// Debian's Chromium, headless, renders the page to a PNG and a PDF and gives
// back its DOM, from which the indices are read again.
void HistoryTest::reportRendersInChromium()
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        QSKIP("Chromium is not installed (scripts/install-deps.sh installs it)");
    // Three questions a week for four weeks, a pause of three weeks, then six
    // weeks more: the week chart shows the pause as a gap three weeks wide.
    trainOn(dataPath(), 30, 7, 40);
    runSql(dataPath(),
           {QStringLiteral("UPDATE wt SET dotime = datetime('2026-09-07 16:30:00', ((id - 1) / 3 * 7"
                           " + CASE WHEN id > 12 THEN 21 ELSE 0 END + (id - 1) % 3 * 2) || ' days')")});
    QCOMPARE(runHistoryCommand(HistoryCommand::Pupil, QStringLiteral("张小明"), dataPath()), 0);
    const QString page = m_home->path() + QStringLiteral("/report.html");
    QCOMPARE(runHistoryCommand(HistoryCommand::Report, page, dataPath()), 0);

    const auto runChromium = [&](const QStringList &what, QByteArray &output) {
        QTemporaryDir profile;
        QProcess browser;
        browser.start(chromium,
                      QStringList{QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                                  QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
                                  QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
                                  QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                                  QStringLiteral("--user-data-dir=") + profile.path()}
                          + what + QStringList{QUrl::fromLocalFile(page).toString()});
        if (!browser.waitForFinished(180000))
            return false;
        output = browser.readAllStandardOutput();
        return browser.exitCode() == 0;
    };
    QByteArray dom;
    QVERIFY(runChromium({QStringLiteral("--dump-dom")}, dom));
    QCOMPARE(indicesInPage(QString::fromUtf8(dom)), evaluationOf(dataPath()));

    const QString png = qEnvironmentVariable("ZORVEL_REPORT_PNG", m_home->path() + QStringLiteral("/report.png"));
    const QString pdf = qEnvironmentVariable("ZORVEL_REPORT_PDF", m_home->path() + QStringLiteral("/report.pdf"));
    QByteArray ignored;
    QVERIFY(runChromium({QStringLiteral("--screenshot=") + png, QStringLiteral("--window-size=1000,2200")}, ignored));
    QVERIFY(runChromium({QStringLiteral("--print-to-pdf=") + pdf, QStringLiteral("--no-pdf-header-footer")}, ignored));
    QImage image(png);
    QCOMPARE(image.size(), QSize(1000, 2200));
    // Something besides the white page: text and the charts' lines.
    int inked = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4)
            inked += qGray(image.pixel(x, y)) < 200;
    }
    QVERIFY2(inked > 500, qPrintable(QString::number(inked)));
    const QByteArray document = fileBytes(pdf);
    QVERIFY(document.startsWith("%PDF-"));
    // A4 pages: 595 by 842 points.
    const QRegularExpression a4(QStringLiteral("/MediaBox \\[0 0 59[45]\\.?\\d* 84[12]\\.?\\d*\\]"));
    QVERIFY2(a4.match(QString::fromLatin1(document)).hasMatch(),
             document.mid(document.indexOf("/MediaBox"), 40).constData());
}

void HistoryTest::commandsNeedNoDisplay_data()
{
    QTest::addColumn<QStringList>("arguments"); // "FILE" stands for the file written or read
    QTest::addColumn<bool>("withHistory");
    QTest::addColumn<QByteArray>("offered"); // what FILE holds beforehand; null for no file
    QTest::addColumn<QString>("language");   // LC_ALL
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");
    const QStringList backup{QStringLiteral("--backup"), QStringLiteral("FILE")};
    const QStringList restore{QStringLiteral("--restore"), QStringLiteral("FILE")};
    const QStringList exportAnswers{QStringLiteral("--export"), QStringLiteral("FILE")};
    const QString english = QStringLiteral("C.UTF-8");
    const QString chinese = QStringLiteral("zh_CN.UTF-8");
    const QByteArray noFile;
    const QByteArray text("question,answer\n");
    QTest::newRow("backup") << backup << true << noFile << english << 0 << QStringLiteral("Wrote a copy");
    QTest::newRow("export") << exportAnswers << true << noFile << english << 0 << QStringLiteral("Wrote the answers");
    QTest::newRow("report") << QStringList{QStringLiteral("--report"), QStringLiteral("FILE")} << true << noFile
                            << english << 0 << QStringLiteral("Wrote the progress report");
    QTest::newRow("no history") << exportAnswers << false << noFile << english << 1
                                << QStringLiteral("There is no history");
    QTest::newRow("two commands") << backup + QStringList{QStringLiteral("--report"), QStringLiteral("FILE")} << true
                                  << noFile << english << 1 << QStringLiteral("give only one of --backup, --report");
    QTest::newRow("a folder as data") << QStringList{QStringLiteral("--data"), QStringLiteral("/")} + backup << true
                                      << noFile << english << 1 << QStringLiteral("is a folder");
    QTest::newRow("restore from a text file") << restore << true << text << english << 1
                                              << QStringLiteral("is not a Zorvel history, so nothing was restored.");
    QTest::newRow("a text file as the history")
        << QStringList{QStringLiteral("--data"), QStringLiteral("FILE"), QStringLiteral("--export"),
                       QStringLiteral("FILE.csv")}
        << false << text << english << 1 << QStringLiteral("is not a Zorvel history; nothing was changed.");
    QTest::newRow("backup, in Chinese") << backup << true << noFile << chinese << 0 << QStringLiteral("已把训练记录");
    QTest::newRow("no history, in Chinese")
        << exportAnswers << false << noFile << chinese << 1 << QStringLiteral("没有训练记录");
    QTest::newRow("restore from a text file, in Chinese")
        << restore << true << text << chinese << 1 << QStringLiteral("不是 Zorvel 的训练记录，因此没有恢复任何内容。");
    QTest::newRow("pupil") << QStringList{QStringLiteral("--pupil"), QStringLiteral("张三")} << true << noFile
                           << english << 0 << QStringLiteral("stores the pupil's name");
    QTest::newRow("class report and --data")
        << QStringList{QStringLiteral("--report"), QStringLiteral("FILE"), QStringLiteral("a.mdb")} << true << noFile
        << english << 1 << QStringLiteral("not both");
}

// The real program, with no display at all, as from a script or over SSH: each
// outcome is one sentence on one line, in the language of the locale.
void HistoryTest::commandsNeedNoDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, withHistory);
    QFETCH(QByteArray, offered);
    QFETCH(QString, language);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
#ifdef Q_OS_WIN
    if (language != QLatin1String("C.UTF-8"))
        QSKIP("Windows takes the language from the account, not from LC_ALL");
#endif
    if (withHistory)
        trainOn(dataPath(), 3);
    const QString file = m_home->path() + QStringLiteral("/out/written");
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    const bool namesAFile = arguments.contains(QStringLiteral("FILE"));
    if (!offered.isNull())
        QVERIFY(DatabaseFixture::writeBytes(file, offered));
    arguments.replaceInStrings(QStringLiteral("FILE"), file);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LANG", "LC_MESSAGES"})
        environment.remove(QString::fromLatin1(variable));
    environment.insert(QStringLiteral("LC_ALL"), language);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ZORVEL_PROGRAM), QStringList{QStringLiteral("--data"), dataPath()} + arguments);
    QVERIFY(program.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(program.exitCode() == exitCode, qPrintable(output));
    QVERIFY2(output.contains(says), qPrintable(output));
    QVERIFY2(output.count(u'\n') == 1 && output.endsWith(QStringLiteral("\n")), qPrintable(output));
    const bool fileExpected = (exitCode == 0 && namesAFile) || !offered.isNull();
    QCOMPARE(QFileInfo::exists(file), fileExpected);
    QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden).size(), fileExpected ? 1 : 0);
}

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"
