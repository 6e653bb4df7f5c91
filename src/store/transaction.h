// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Database;

// One write transaction: begun on construction, rolled back on destruction unless
// it was committed, so that an error anywhere between leaves the store as it was.
//
// It takes the write lock as it begins (BEGIN IMMEDIATE). Another connection that
// holds the file then delays it by up to the busy timeout instead of making it
// fail: a transaction that had begun by reading could not wait for the lock
// later, and would fail at its first write.
//
// The connection's SessionCache takes the transaction's changes at its commit
// and drops them at its rollback.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Database &m_db;
    bool m_open = true;
};
