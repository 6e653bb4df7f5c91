// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/templatesandphrases.h"

#include <QString>

class Database;
class RandomSource;

// Draws one question template, each with the same chance.
QuestionTemplateRow drawQuestionTemplate(Database &db, RandomSource &random);

// A random dictionary word of the class, or empty text when the class has none.
QString PickRandomWord(Database &db, RandomSource &random, int classId);

// The keyword stored with a question: the slot word when the template's keyword is "#".
QString questionKeyword(const QString &templateKeyword, const QString &word);
