// SPDX-License-Identifier: GPL-3.0-or-later
#include "sessioncache.h"
#include "statements.h"

#include "database.h"

HistorySums &HistorySums::operator+=(const HistorySums &other)
{
    answerTotal += other.answerTotal;
    answerRows += other.answerRows;
    newWordTotal += other.newWordTotal;
    newWordRows += other.newWordRows;
    repeatTotal += other.repeatTotal;
    repeatRows += other.repeatRows;
    return *this;
}

HistorySums &HistorySums::operator-=(const HistorySums &other)
{
    answerTotal -= other.answerTotal;
    answerRows -= other.answerRows;
    newWordTotal -= other.newWordTotal;
    newWordRows -= other.newWordRows;
    repeatTotal -= other.repeatTotal;
    repeatRows -= other.repeatRows;
    return *this;
}

double meanOf(double total, qint64 rows)
{
    return rows > 0 ? total / double(rows) : 0.0;
}

void SessionCache::begin()
{
    m_inTransaction = true;
    m_readInTransaction = false;
    m_pending = Changes();
}

void SessionCache::commit()
{
    m_inTransaction = false;
    apply(std::exchange(m_pending, Changes()));
}

void SessionCache::rollback()
{
    m_inTransaction = false;
    m_pending = Changes();
    if (m_readInTransaction)
        clear();
}

void SessionCache::clear()
{
    m_wordIds.reset();
    m_sums.reset();
    m_dataVersion = -1;
}

void SessionCache::forgetAll()
{
    Changes changes;
    changes.forgetAll = true;
    if (m_inTransaction)
        m_pending.forgetAll = true;
    else
        apply(changes);
}

void SessionCache::setWordIds(QHash<int, QList<int>> idsByClass)
{
    m_wordIds = std::move(idsByClass);
    if (m_inTransaction) {
        m_readInTransaction = true;
        m_pending.words.clear();
    }
}

void SessionCache::wordAdded(int classId, int wordId)
{
    if (!m_wordIds)
        return;
    if (m_inTransaction)
        m_pending.words.append({classId, wordId});
    else
        (*m_wordIds)[classId].append(wordId);
}

void SessionCache::setSums(const HistorySums &sums)
{
    m_sums = sums;
    if (m_inTransaction) {
        m_readInTransaction = true;
        m_pending.sums = HistorySums();
    }
}

void SessionCache::sumsChanged(const HistorySums &difference)
{
    if (!m_sums)
        return;
    if (m_inTransaction)
        m_pending.sums += difference;
    else
        *m_sums += difference;
}

void SessionCache::apply(const Changes &changes)
{
    if (changes.forgetAll) {
        clear();
        return;
    }
    if (m_wordIds) {
        for (const auto &[classId, wordId] : changes.words)
            (*m_wordIds)[classId].append(wordId);
    }
    if (m_sums)
        *m_sums += changes.sums;
}

SessionCache &currentCache(Database &db)
{
    SessionCache &cache = db.statements().cache();
    const qint64 version = db.statements().scalar(QStringLiteral("PRAGMA data_version")).toLongLong();
    if (version != cache.dataVersion()) {
        cache.clear();
        cache.setDataVersion(version);
    }
    return cache;
}
