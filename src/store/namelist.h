// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// The condition that `column` holds one of `names`, as "column IN (?, ?, …)" with
// the names appended to `values` in order, so that the column's index answers it.
// With no names it is a condition that no row meets.
QString columnIsOneOf(const QString &column, const QStringList &names, QVariantList &values);
