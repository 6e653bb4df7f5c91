// SPDX-License-Identifier: GPL-3.0-or-later
#include "schema.h"

#include "database.h"
#include "seedcontent.h"
#include "statements.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

namespace {

// Identity keys number from 1 in insertion order and are never reused after a
// delete (AUTOINCREMENT); text columns keep their declared lengths in characters.
const char *const createQuestionTemplates =
    "CREATE TABLE wtlx (id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " neirong VARCHAR(100) CHECK (length(neirong) <= 100), ppcxid INT, htcxid INT, fsqz INT,"
    " keyword VARCHAR(50) CHECK (length(keyword) <= 50))";
const char *const createFeedbackPhrases = "CREATE TABLE hdpj (id INTEGER PRIMARY KEY AUTOINCREMENT, type INT,"
                                          " descr VARCHAR(50) CHECK (length(descr) <= 50))";
const char *const createWordClasses = "CREATE TABLE cx (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                                      " name VARCHAR(10) CHECK (length(name) <= 10))";
const char *const createQuestions = "CREATE TABLE wt (id INTEGER PRIMARY KEY AUTOINCREMENT, wtlxid INT,"
                                    " match_word VARCHAR(50) CHECK (length(match_word) <= 50),"
                                    " keyword VARCHAR(50) CHECK (length(keyword) <= 50),"
                                    " dotime DATETIME, answer_count INT, score INT, repeate_count INT)";
const char *const createAnswers = "CREATE TABLE hd (id INTEGER PRIMARY KEY AUTOINCREMENT, wtid INT, ciid INT)";
const char *const createWords = "CREATE TABLE ci (id INTEGER PRIMARY KEY AUTOINCREMENT, cxid INT,"
                                " name VARCHAR(50) CHECK (length(name) <= 50))";

// The indexes serve the lookups of the training loop and the averages of the
// evaluation; they change no result.
const char *const indexStatements[] = {
    "CREATE INDEX hd_by_question ON hd (wtid, ciid)",
    "CREATE INDEX hd_by_word ON hd (ciid)",
    "CREATE INDEX ci_by_name ON ci (name)",
    "CREATE INDEX ci_by_class ON ci (cxid)",
    "CREATE INDEX wt_statistics ON wt (wtlxid, answer_count, repeate_count)",
};

void runStatement(Database &db, const char *statement)
{
    db.statements().execute(QString::fromLatin1(statement));
}

void insertTemplates(Database &db)
{
    for (const auto &t : SeedContent::questionTemplates()) {
        db.statements().execute(QStringLiteral("INSERT INTO wtlx (neirong, ppcxid, htcxid, fsqz, keyword)"
                                               " VALUES (?, ?, ?, ?, ?)"),
                                {t.text, t.slotClassId, t.answerClassId, t.weight, t.keyword});
    }
}

void insertPhrases(Database &db)
{
    for (const auto &phrase : SeedContent::feedbackPhrases())
        db.statements().execute(QStringLiteral("INSERT INTO hdpj (type, descr) VALUES (?, ?)"),
                                {phrase.type, phrase.text});
}

void insertClasses(Database &db)
{
    for (const QString &name : SeedContent::wordClasses())
        db.statements().execute(QStringLiteral("INSERT INTO cx (name) VALUES (?)"), {name});
}

void insertWords(Database &db)
{
    for (const auto &word : SeedContent::dictionaryWords())
        db.statements().execute(QStringLiteral("INSERT INTO ci (cxid, name) VALUES (?, ?)"), {word.classId, word.name});
}

} // namespace

void CreateTablesAndSeed(Database &db)
{
    runStatement(db, createQuestionTemplates);
    insertTemplates(db);
    runStatement(db, createFeedbackPhrases);
    insertPhrases(db);
    runStatement(db, createWordClasses);
    insertClasses(db);
    runStatement(db, createQuestions);
    runStatement(db, createAnswers);
    runStatement(db, createWords);
    insertWords(db);
    for (const char *statement : indexStatements)
        runStatement(db, statement);
}

QStringList tableNames()
{
    return {QStringLiteral("wtlx"), QStringLiteral("hdpj"), QStringLiteral("wt"),
            QStringLiteral("cx"),   QStringLiteral("hd"),   QStringLiteral("ci")};
}

void DropAllTables(Database &db)
{
    for (const QString &table : tableNames())
        db.statements().execute(QStringLiteral("DROP TABLE %1").arg(table));
}
