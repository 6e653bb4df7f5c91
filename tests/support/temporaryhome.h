// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points HOME and the per-user data folders at a fresh temporary folder for the
// lifetime of the object, so that a test never reads or writes the user's data,
// even when it is run by hand outside CTest.
class TemporaryHome
{
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_savedHome;
    QByteArray m_savedDataHome;
    QByteArray m_savedAppData;
};
