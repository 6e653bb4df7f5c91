// SPDX-License-Identifier: GPL-3.0-or-later
#include "questiongeneration.h"

#include "randomsource.h"
#include "store/databaseerror.h"
#include "store/dictionary.h"

QuestionTemplateRow drawQuestionTemplate(Database &db, RandomSource &random)
{
    const int position = drawRowPosition(random, questionTemplateCount(db));
    if (position == 0)
        throw DatabaseError(QStringLiteral("数据库中没有问题模板，无法产生新问题。请使用“清空”恢复初始内容。"));
    return questionTemplateAt(db, position);
}

QString PickRandomWord(Database &db, RandomSource &random, int classId)
{
    const int position = drawRowPosition(random, wordCount(db, classId));
    return position > 0 ? wordAt(db, classId, position) : QString();
}

QString questionKeyword(const QString &templateKeyword, const QString &word)
{
    return templateKeyword == QStringLiteral("#") ? word : templateKeyword;
}
