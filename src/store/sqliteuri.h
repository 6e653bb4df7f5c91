// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The SQLite URI ("file:...") of the file at `absolutePath`, written with forward
// slashes: "/home/me/x.mdb", "C:/Users/me/x.mdb" or, for a Windows network
// share, "//server/share/x.mdb". The authority is always empty, as SQLite
// requires: a share's server goes into the path ("file:////server/share/...").
// Every byte outside the unreserved characters and '/' and ':' is escaped, so
// '?', '#', '%', spaces and Chinese names reach SQLite as they are.
QString sqliteFileUri(const QString &absolutePath);
