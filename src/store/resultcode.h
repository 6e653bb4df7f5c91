// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QSqlError;

// SQLite's primary result codes that the store tells apart. Qt may report an
// extended code (the primary code in the low byte, details above it).
namespace ResultCode {
inline constexpr int busy = 5;
inline constexpr int locked = 6;
inline constexpr int readOnly = 8;
inline constexpr int ioError = 10;
inline constexpr int corrupt = 11;
inline constexpr int full = 13;
inline constexpr int cantOpen = 14;
inline constexpr int notADatabase = 26;

// The primary result code of a failure, or 0 when the engine gave none.
int primaryOf(const QSqlError &error);
} // namespace ResultCode
