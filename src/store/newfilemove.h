// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// Gives a finished file its final name in the same folder, so that the rename
// survives a power cut: on Windows the move is written through to the disk; on
// POSIX systems the folder is flushed after the rename (a Windows folder cannot
// be flushed).
//
// Never replaces a file that is already at `to`. Fails, leaving both files as
// they are, when `to` exists, and on Windows also while another handle holds
// either file open without sharing its deletion (SQLite's files, for one).
// Virus scanners and the search indexer hold new files open for a moment: a
// move refused as held is tried again a few times, after short pauses.
// Returns whether the file was moved; `error` then says why not.
bool moveNewFileIntoPlace(const QString &from, const QString &to, QString &error);

// The same, but a file at `to` is replaced in one step: a reader sees the old
// file or the new one, never neither.
bool replaceWithNewFile(const QString &from, const QString &to, QString &error);

// What one try of a move came to.
enum class MoveTry {
    Done,
    Held,   // another program holds a file open for now: worth trying again
    Failed, // for good
};

// Tries `move` until it is done, fails for good, or has been tried
// `tries` times, calling `pause` with the number of the try before each retry.
// Returns whether it was done.
bool retryWhileHeld(const std::function<MoveTry()> &move, const std::function<void(int)> &pause, int tries);
