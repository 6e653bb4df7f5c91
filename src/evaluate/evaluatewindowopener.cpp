// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluatewindowopener.h"

#include "tfrmevaluate.h"

#include "store/databaseerror.h"
#include "store/historystatistics.h"

void openEvaluateWindow(Database &db, QWidget *parent, HistoryActions *actions)
{
    bool restored = false;
    do {
        auto *window = new TfrmEvaluate(db, actions, parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
        if (restored)
            window->focusRestoreButton();
        restored = window->exec() == TfrmEvaluate::Restored;
    } while (restored);
}

void readAheadEvaluation(Database &db)
{
    try {
        loadHistorySums(db);
    } catch (const DatabaseError &) {
    }
}
