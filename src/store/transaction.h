#pragma once

class Database;

// One database transaction: begun on construction, rolled back on destruction
// unless it was committed, so that an error anywhere between leaves the store as
// it was.
class Transaction
{
public:
    explicit Transaction(const Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    const Database &m_db;
    bool m_open = true;
};
