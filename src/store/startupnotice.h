// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Something the user must be told when the program starts, in a message box:
// the file is opened read-only, the file is damaged, old log files were set
// aside. The start-up goes on after it.
struct StartupNotice
{
    enum Kind {
        Information,
        Warning,
    };

    Kind kind = Information;
    QString text;
};
