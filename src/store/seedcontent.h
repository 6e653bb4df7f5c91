// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// The content every new database starts with, in insertion order: the ids of
// each table follow from that order.
namespace SeedContent {

struct QuestionTemplate
{
    QString text;      // neirong; "#" marks the slot
    int slotClassId;   // ppcxid; 0 for a template without a slot
    int answerClassId; // htcxid
    int weight;        // fsqz
    QString keyword;   // "#" stands for the slot word
};

struct FeedbackPhrase
{
    int type; // the verdict it answers, 1 to 4
    QString text;
};

struct DictionaryWord
{
    int classId;
    QString name;
};

const QList<QuestionTemplate> &questionTemplates();
const QList<FeedbackPhrase> &feedbackPhrases();
const QList<QString> &wordClasses();
const QList<DictionaryWord> &dictionaryWords();

} // namespace SeedContent
