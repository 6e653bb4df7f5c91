// SPDX-License-Identifier: GPL-3.0-or-later
// Planted: the store shows a colour.
#include <QtGui/QColor>
#include <QSqlQuery>
