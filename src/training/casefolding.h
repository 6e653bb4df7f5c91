// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Answers are compared without regard to letter case, in the answer list of the
// current question and in the store alike. Both sides use these two functions.

// The text with every character replaced by its simple case folding (one
// character for one: "Ａ" becomes "ａ", "Α" "α", "Ⅳ" "ⅳ", "Ё" "ё"). Two texts
// are the same answer when their foldings are equal.
QString foldCase(QStringView text);

// The spellings of the text, itself first, that fold to the same text and could
// stand in the dictionary: each cased letter may take any case that code page 936
// holds as two bytes ("ａＢ" gives "ａＢ", "ＡＢ", "ａｂ", "Ａｂ"). Single-byte
// letters keep their spelling, since every stored word is Chinese text and so
// holds none. An answer the box takes has at most eight letters with two cases,
// 256 spellings; a longer text with more spellings than that is given alone.
QStringList caseVariants(QStringView text);
