// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Database;

// Whose history a data file is, as the export and the report name the pupil.

// The longest name a file stores, in characters.
constexpr qsizetype longestPupilName = 50;

// The name as it is stored: white space at the ends dropped and every run of it
// inside, line breaks included, made one space.
QString pupilNameToStore(const QString &typed);

// The name of a file that stores none: the account's user name for the user's
// own file (`ownDataPath`), whose base name is the program's; the file's base
// name without its extension for any other file, or for the own file when the
// account's name is unknown.
QString defaultPupilName(const QString &dataPath, const QString &ownDataPath, const QString &accountName);

// The name of the account the program runs under; empty when unknown.
QString accountUserName();

// The pupil of the history open in `db`: the name stored in it, or else the
// default name of its file.
QString pupilNameOf(Database &db);
