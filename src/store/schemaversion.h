// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Marks that every database file this program creates carries in its header, so
// that a file of any other origin is recognised and left alone.
namespace SchemaVersion {
inline constexpr qint32 applicationId = 0x5A52564C; // "ZRVL"
inline constexpr int current = 1;
} // namespace SchemaVersion
