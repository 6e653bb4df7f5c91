// SPDX-License-Identifier: GPL-3.0-or-later
#include "casefolding.h"

#include "gbk.h"

#include <QChar>
#include <QHash>
#include <QList>

namespace {

constexpr qsizetype maximumCaseVariants = 256;

// The cased letters that code page 936 holds as two bytes, grouped by their
// folding: full-width Latin, Greek, Cyrillic and the Roman numerals, pairs all.
class DoubleByteCaseClasses
{
public:
    DoubleByteCaseClasses()
    {
        for (char32_t codePoint = 0x80; codePoint <= 0xFFFF; ++codePoint) {
            const char32_t folded = QChar::toCaseFolded(codePoint);
            if ((folded != codePoint || QChar::toUpper(codePoint) != codePoint) && isGbkDoubleByte(codePoint))
                m_members[char16_t(folded)].append(char16_t(codePoint));
        }
    }

    // The other letters of the unit's class, or none.
    QList<char16_t> othersOf(char16_t unit) const
    {
        QList<char16_t> others = m_members.value(QChar::toCaseFolded(unit));
        others.removeOne(unit);
        return others;
    }

private:
    QHash<char16_t, QList<char16_t>> m_members;
};

const DoubleByteCaseClasses &doubleByteCaseClasses()
{
    static const DoubleByteCaseClasses classes;
    return classes;
}

} // namespace

QString foldCase(QStringView text)
{
    QList<uint> characters = text.toUcs4();
    for (uint &character : characters)
        character = QChar::toCaseFolded(char32_t(character));
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(characters.constData()), characters.size());
}

QStringList caseVariants(QStringView text)
{
    const DoubleByteCaseClasses &classes = doubleByteCaseClasses();
    QList<std::pair<qsizetype, QList<char16_t>>> cased; // position, its other spellings
    qsizetype count = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QList<char16_t> others = classes.othersOf(text[i].unicode());
        if (others.isEmpty())
            continue;
        count *= others.size() + 1;
        if (count > maximumCaseVariants)
            return {text.toString()};
        cased.append({i, others});
    }
    QStringList spellings{text.toString()};
    spellings.reserve(count);
    for (const auto &[position, others] : cased) {
        const qsizetype known = spellings.size();
        for (char16_t other : others) {
            for (qsizetype j = 0; j < known; ++j) {
                QString spelling = spellings.at(j);
                spelling[position] = QChar(other);
                spellings.append(spelling);
            }
        }
    }
    return spellings;
}
