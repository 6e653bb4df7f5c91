// SPDX-License-Identifier: GPL-3.0-or-later
#include "temporaryhome.h"

#include <QtGlobal>

TemporaryHome::TemporaryHome()
    : m_savedHome(qgetenv("HOME")),
      m_savedDataHome(qgetenv("XDG_DATA_HOME")),
      m_savedAppData(qgetenv("APPDATA"))
{
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qunsetenv("XDG_DATA_HOME");
    qputenv("APPDATA", (m_dir.path() + QStringLiteral("/AppData/Roaming")).toLocal8Bit());
}

TemporaryHome::~TemporaryHome()
{
    qputenv("HOME", m_savedHome);
    if (m_savedDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_savedDataHome);
    if (m_savedAppData.isNull())
        qunsetenv("APPDATA");
    else
        qputenv("APPDATA", m_savedAppData);
}
