// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Database;

// The reference content that only the creation of the tables writes: the question
// templates (wtlx) and the feedback phrases (hdpj).

// One row of the question templates.
struct QuestionTemplateRow
{
    int id = 0;
    QString text;          // neirong; "#" marks the slot
    int slotClassId = 0;   // ppcxid: word class that fills the slot; 0: no slot
    int answerClassId = 0; // htcxid: word class of the expected answers
    QString keyword;       // "#" stands for the slot word
};

int questionTemplateCount(Database &db);
// The template at 1-based `position` in id order.
QuestionTemplateRow questionTemplateAt(Database &db, int position);

// Feedback phrases answering the verdict `type` (1 to 4).
int feedbackPhraseCount(Database &db, int type);
// The phrase at 1-based `position` among those of `type`, in id order.
QString feedbackPhraseAt(Database &db, int type, int position);
