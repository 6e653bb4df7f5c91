// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// Text as code page 936 (GBK) holds it, the encoding in which answer lengths are
// counted and the Chinese-text rule is stated. Zorvel carries its own table of the
// code page, so the answers do not depend on how Qt was built. A character the
// code page cannot hold becomes "?": characters outside the Basic Multilingual
// Plane (one "?" for a surrogate pair), lone surrogates and invisible characters
// such as U+200B or U+202E.

// Number of GBK bytes of the text.
qsizetype gbkLength(QStringView text);

// True when every GBK byte of the text is a double-byte lead byte (0x81 to 0xFE):
// GB2312 characters and full-width forms pass; ASCII, blanks, "€" (0x80),
// characters outside GBK and double-byte characters with a trail byte below 0x81
// fail. Empty text passes.
bool IsChineseText(QStringView text);

// True when the code page holds the character as two bytes.
bool isGbkDoubleByte(char32_t character);

// The number of UTF-16 code units at the start of the text, whole characters only,
// whose GBK bytes fit in maximumBytes.
qsizetype gbkFittingPrefix(QStringView text, qsizetype maximumBytes);
