// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Comma-separated values as RFC 4180 writes them.

// The field as written: quoted, with its quotes doubled, when it holds a comma,
// a quote, a line break, or space at either end; as it is otherwise.
QString csvField(const QString &value);

// One record: the fields joined by commas, ended by CR LF.
QString csvRecord(const QStringList &fields);
