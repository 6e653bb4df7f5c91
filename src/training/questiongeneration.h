#pragma once

#include <QString>

class Database;
class RandomSource;

// One row of the question templates.
struct QuestionTemplateRow
{
    int id = 0;
    QString text;          // "#" marks the slot
    int slotClassId = 0;   // word class that fills the slot; 0: no slot
    int answerClassId = 0; // word class of the expected answers
    QString keyword;       // "#" stands for the slot word
};

// Draws one template, each with the same chance.
QuestionTemplateRow drawQuestionTemplate(const Database &db, RandomSource &random);

// A random dictionary word of the class, or empty text when the class has none.
QString PickRandomWord(const Database &db, RandomSource &random, int classId);

// The keyword stored with a question: the slot word when the template's keyword is "#".
QString questionKeyword(const QString &templateKeyword, const QString &word);

// Appends the question row, stamped with the current local time, and returns its id.
int InsertQuestionRecord(const Database &db, int templateId, const QString &word, const QString &keyword);
