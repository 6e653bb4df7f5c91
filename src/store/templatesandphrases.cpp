// SPDX-License-Identifier: GPL-3.0-or-later
#include "templatesandphrases.h"

#include "rowselection.h"

namespace {

const RowSelection templates{QStringLiteral("wtlx"), QStringLiteral("id, neirong, ppcxid, htcxid, keyword"), {}};
const RowSelection phrasesOfType{QStringLiteral("hdpj"), QStringLiteral("descr"), QStringLiteral("type = ?")};

} // namespace

int questionTemplateCount(Database &db)
{
    return templates.count(db);
}

QuestionTemplateRow questionTemplateAt(Database &db, int position)
{
    const QVariantList row = templates.rowAt(db, {}, position);
    return {row.value(0).toInt(), row.value(1).toString(), row.value(2).toInt(), row.value(3).toInt(),
            row.value(4).toString()};
}

int feedbackPhraseCount(Database &db, int type)
{
    return phrasesOfType.count(db, {type});
}

QString feedbackPhraseAt(Database &db, int type, int position)
{
    return phrasesOfType.rowAt(db, {type}, position).value(0).toString();
}
