#pragma once

#include <QByteArray>
#include <QString>

// Text as GBK (code page 936) bytes, the encoding in which answer lengths are
// counted and the Chinese-text rule is stated. A character that GBK cannot
// encode becomes "?". Without a GBK codec every character becomes "?".
QByteArray gbkBytes(const QString &text);

// Number of GBK bytes of the text.
qsizetype gbkLength(const QString &text);

// True when every GBK byte of the text is a double-byte lead byte (0x81 to 0xFE):
// GB2312 characters and full-width forms pass; ASCII, blanks, characters outside
// GBK and double-byte characters with a trail byte below 0x81 fail. Empty text passes.
bool IsChineseText(const QString &text);
