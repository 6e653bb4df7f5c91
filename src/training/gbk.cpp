// SPDX-License-Identifier: GPL-3.0-or-later
#include "gbk.h"

#include "gbkruns.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// The generated runs expanded into two bits per code point of the Basic
// Multilingual Plane (16 KB), built once at first use.
class GbkClassTable
{
public:
    GbkClassTable()
    {
        const std::span<const GbkRun> runs = gbkCodePageRuns();
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const char32_t end = i + 1 < runs.size() ? runs[i + 1].first : char32_t(0x10000);
            for (char32_t codePoint = runs[i].first; codePoint < end; ++codePoint)
                m_bits[codePoint / 4] |= std::uint8_t(unsigned(runs[i].kind) << (codePoint % 4 * 2));
        }
    }

    GbkClass at(char16_t unit) const { return GbkClass((m_bits[unit / 4] >> (unit % 4 * 2)) & 3); }

private:
    std::array<std::uint8_t, 0x10000 / 4> m_bits{};
};

const GbkClassTable &classTable()
{
    static const GbkClassTable table;
    return table;
}

// Bytes of the character that starts at `index`, and in `units` its length in
// UTF-16 code units. A surrogate pair is one "?", and so is a lone surrogate,
// which the table holds as a single byte.
int characterBytes(const GbkClassTable &table, QStringView text, qsizetype index, qsizetype &units)
{
    const QChar unit = text[index];
    if (unit.isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate()) {
        units = 2;
        return 1;
    }
    units = 1;
    return table.at(unit.unicode()) == GbkClass::SingleByte ? 1 : 2;
}

} // namespace

qsizetype gbkLength(QStringView text)
{
    const GbkClassTable &table = classTable();
    qsizetype bytes = 0;
    qsizetype units = 0;
    for (qsizetype i = 0; i < text.size(); i += units)
        bytes += characterBytes(table, text, i, units);
    return bytes;
}

bool IsChineseText(QStringView text)
{
    // Surrogates are "?" and the table holds them as single bytes, so every code
    // unit can be looked at by itself.
    const GbkClassTable &table = classTable();
    return std::all_of(text.begin(), text.end(),
                       [&table](QChar unit) { return table.at(unit.unicode()) == GbkClass::DoubleLead; });
}

bool isGbkDoubleByte(char32_t character)
{
    return character <= 0xFFFF && classTable().at(char16_t(character)) != GbkClass::SingleByte;
}

qsizetype gbkFittingPrefix(QStringView text, qsizetype maximumBytes)
{
    const GbkClassTable &table = classTable();
    qsizetype bytes = 0;
    qsizetype units = 0;
    qsizetype end = 0;
    for (; end < text.size(); end += units) {
        bytes += characterBytes(table, text, end, units);
        if (bytes > maximumBytes)
            break;
    }
    return end;
}
