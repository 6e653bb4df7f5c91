// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A question as the question box shows it: the slot word is highlighted,
// the text around it is plain. `word` is empty for a question without a slot
// word, and then `before` holds the whole text.
struct QuestionText
{
    QString before;
    QString word;
    QString after;

    QString plainText() const { return before + word + after; }
    friend bool operator==(const QuestionText &, const QuestionText &) = default;
};

// Fills the template's "#" slots with `word`. The highlighted part is the word
// at the first slot; further slots are filled but not highlighted. Without a
// word the template is shown unchanged, "#" included.
QuestionText fillQuestionTemplate(const QString &templateText, const QString &word);
