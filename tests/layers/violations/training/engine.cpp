// SPDX-License-Identifier: GPL-3.0-or-later
// Planted: the engine opens a widget and runs SQL itself.
#include "store/database.h"
#include <QWidget>
#include <QSqlQuery>
