// SPDX-License-Identifier: GPL-3.0-or-later
// Planted: the engine opens a widget and runs SQL itself, through the store's own
// statements as well.
#include "store/database.h"
#include "store/statements.h"
#include <QWidget>
#include <QSqlQuery>
