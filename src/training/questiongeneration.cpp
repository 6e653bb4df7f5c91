#include "questiongeneration.h"

#include "randomsource.h"
#include "store/database.h"
#include "store/databaseerror.h"

#include <QDateTime>
#include <QSqlQuery>

QuestionTemplateRow drawQuestionTemplate(const Database &db, RandomSource &random)
{
    const int rows = db.scalar(QStringLiteral("SELECT count(*) FROM wtlx")).toInt();
    if (rows <= 0)
        throw DatabaseError(QStringLiteral("数据库中没有问题模板，无法产生新问题。请使用“清空”恢复初始内容。"));
    const int position = random.RandomInRange(1, rows);
    QSqlQuery query = db.execute(QStringLiteral("SELECT id, neirong, ppcxid, htcxid, keyword FROM wtlx"
                                                " ORDER BY id LIMIT 1 OFFSET ?"),
                                 {position - 1});
    query.next();
    return {query.value(0).toInt(), query.value(1).toString(), query.value(2).toInt(),
            query.value(3).toInt(), query.value(4).toString()};
}

QString PickRandomWord(const Database &db, RandomSource &random, int classId)
{
    const int rows = db.scalar(QStringLiteral("SELECT count(*) FROM ci WHERE cxid = ?"), {classId}).toInt();
    if (rows <= 0)
        return QString();
    const int position = random.RandomInRange(1, rows);
    return db.scalar(QStringLiteral("SELECT name FROM ci WHERE cxid = ? ORDER BY id LIMIT 1 OFFSET ?"),
                     {classId, position - 1})
        .toString();
}

QString questionKeyword(const QString &templateKeyword, const QString &word)
{
    return templateKeyword == QStringLiteral("#") ? word : templateKeyword;
}

int InsertQuestionRecord(const Database &db, int templateId, const QString &word, const QString &keyword)
{
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return db.insert(QStringLiteral("INSERT INTO wt (wtlxid, match_word, keyword, dotime) VALUES (?, ?, ?, ?)"),
                     {templateId, word, keyword, now});
}
