// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluatewindowopener.h"

#include "tfrmevaluate.h"

#include "store/databaseerror.h"
#include "store/historystatistics.h"

void openEvaluateWindow(Database &db, QWidget *parent)
{
    auto *window = new TfrmEvaluate(db, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->exec();
}

void readAheadEvaluation(Database &db)
{
    try {
        loadHistorySums(db);
    } catch (const DatabaseError &) {
    }
}
