// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QtGlobal>

#include <optional>

class Database;

// The sums behind the evaluation's three averages: for each, the total of the
// weighted counts and the number of questions it is taken over.
struct HistorySums
{
    double answerTotal = 0;
    qint64 answerRows = 0;
    double newWordTotal = 0;
    qint64 newWordRows = 0;
    double repeatTotal = 0;
    qint64 repeatRows = 0;

    HistorySums &operator+=(const HistorySums &other);
    HistorySums &operator-=(const HistorySums &other);
    friend bool operator==(const HistorySums &, const HistorySums &) = default;
};

// A total over its rows; 0 over no rows, as the averages count it.
double meanOf(double total, qint64 rows);

// What the store keeps in memory about the file for one connection: the word ids
// of each class, in id order, and the history's sums. Each part is read from the
// file the first time it is needed, then kept in step with the changes the
// store's functions make. A change made inside a transaction waits for its
// commit and is dropped by its rollback; a part read inside a transaction is
// dropped by its rollback as well, since it may hold what the rollback undid.
class SessionCache
{
public:
    // Called by Transaction once the file's transaction has begun, committed or
    // been rolled back.
    void begin();
    void commit();
    void rollback();

    // Drops every part now: the connection closed, or another connection changed
    // the file.
    void clear();
    // Drops every part as of the commit: a change the cache cannot follow.
    void forgetAll();

    // PRAGMA data_version, as it was when the parts were read: it changes when
    // another connection commits.
    qint64 dataVersion() const { return m_dataVersion; }
    void setDataVersion(qint64 version) { m_dataVersion = version; }

    const std::optional<QHash<int, QList<int>>> &wordIds() const { return m_wordIds; }
    void setWordIds(QHash<int, QList<int>> idsByClass);
    // A new word with an id above all others.
    void wordAdded(int classId, int wordId);

    const std::optional<HistorySums> &sums() const { return m_sums; }
    void setSums(const HistorySums &sums);
    void sumsChanged(const HistorySums &difference);

private:
    struct Changes
    {
        QList<std::pair<int, int>> words; // class id, word id
        HistorySums sums;
        bool forgetAll = false;
    };
    void apply(const Changes &changes);

    bool m_inTransaction = false;
    bool m_readInTransaction = false;
    Changes m_pending;
    qint64 m_dataVersion = -1;
    std::optional<QHash<int, QList<int>>> m_wordIds;
    std::optional<HistorySums> m_sums;
};

// The connection's cache, emptied first when another connection has changed the
// file since it was read.
SessionCache &currentCache(Database &db);
