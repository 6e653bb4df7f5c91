// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <thread>

// Reads every page of a database file once, in a thread of its own and on a
// read-only connection of its own (SQLite's quick_check), so that damage in a
// page that nothing else has read yet is found before a write can spread it.
// The program's own connection goes on reading meanwhile.
class IntegrityCheck
{
public:
    enum Outcome {
        Running,
        Whole,
        Damaged,
        Unknown, // the check could not run to its end (the file was busy, a read failed)
    };

    // Starts at once; `finished` is called in the checking thread when it ends.
    IntegrityCheck(const QString &path, const QString &connectOptions, std::function<void()> finished = {});
    // Waits for the check to end.
    ~IntegrityCheck();
    IntegrityCheck(const IntegrityCheck &) = delete;
    IntegrityCheck &operator=(const IntegrityCheck &) = delete;

    // Blocks until the check has ended.
    Outcome wait();
    Outcome outcome() const { return m_outcome; }
    // How long the check took, once it has ended.
    qint64 elapsedMs() const { return m_elapsedMs; }

private:
    void run(const QString &path, const QString &connectOptions);

    std::atomic<Outcome> m_outcome = Running;
    std::atomic<qint64> m_elapsedMs = 0;
    std::function<void()> m_finished;
    std::thread m_thread;
};
