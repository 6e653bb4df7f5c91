#include "gbk.h"

#include <QList>
#include <QStringEncoder>

#include <algorithm>

namespace {

QStringEncoder makeGbkEncoder()
{
    // Constructed by name: Qt's own table of encodings does not know GBK, the ICU
    // backend does.
    return QStringEncoder("GBK");
}

} // namespace

QByteArray gbkBytes(const QString &text)
{
    QStringEncoder encoder = makeGbkEncoder();
    if (!encoder.isValid())
        return QByteArray(text.toUcs4().size(), '?');
    return encoder.encode(text);
}

qsizetype gbkLength(const QString &text)
{
    return gbkBytes(text).size();
}

bool IsChineseText(const QString &text)
{
    const QByteArray bytes = gbkBytes(text);
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x81 && byte <= 0xFE;
    });
}
