// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Marks that every database file this program creates carries in its header, so
// that a file of any other origin is recognised and left alone.
namespace SchemaVersion {
inline constexpr qint32 applicationId = 0x5A52564C; // "ZRVL"
inline constexpr int current = 1;
} // namespace SchemaVersion

// What the first 100 bytes of a database file say about it. They are read with
// plain file reads, before any SQLite open, so that a file that is not ours is
// never opened by SQLite: closing a connection can write to a file (it applies
// a pending log), and a file we refuse must stay byte for byte as it was.
enum class FileHeaderVerdict {
    Ours,         // Zorvel's file, as long as its header says it is
    NotSQLite,    // no SQLite header at all (too short, another format)
    OtherOwner,   // an SQLite file of another program
    NewerVersion, // a Zorvel file of a newer schema than this program knows
    CutShort,     // Zorvel's file, shorter than its header says it is
};

inline constexpr int databaseHeaderSize = 100;

// Judges a file from its first bytes (up to 100), its size, and whether a
// non-empty write-ahead log lies beside it. A log may hold the pages a
// checkpoint cut short did not yet copy into the file, so with a log beside it
// a file shorter than its header is not taken for damaged.
FileHeaderVerdict judgeDatabaseHeader(const QByteArray &header, qint64 fileSize, bool logBeside);

// The file's first 100 bytes (fewer when it is shorter). Returns false, with the
// system's reason in `error`, when the file cannot be read.
bool readDatabaseHeader(const QString &path, QByteArray &header, QString &error);

// Whether a write-ahead log with content lies beside the database file.
bool hasLogBeside(const QString &databasePath);
