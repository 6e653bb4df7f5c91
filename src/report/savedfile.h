// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Writes `content` to `path` at a temporary name in the same folder and renames
// it into place once it is whole; a file already at `path` is replaced. Returns
// false, with the reason in `error`, leaving nothing new at either name.
bool saveWhole(const QString &path, const QByteArray &content, QString &error);
