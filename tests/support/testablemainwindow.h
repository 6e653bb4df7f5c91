// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakeclock.h"

#include "app/runninghistoryactions.h"
#include "store/database.h"
#include "store/location.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"
#include "ui/tfrmmain.h"

// The main window put together as the program does it, but on a clock that is
// moved on by hand and a random source with a fixed seed, with the history
// actions of its evaluation window. Building it opens the database in the
// current home folder.
struct TestableMainWindow
{
    explicit TestableMainWindow(quint32 seed = 77)
        : random(seed),
          engine(database, clock, random),
          historyActions(engine, database, databaseFileLocation()),
          window(engine, database)
    {
        window.setHistoryActions(&historyActions);
    }

    FakeClock clock;
    RandomSource random;
    Database database;
    TrainingEngine engine;
    RunningHistoryActions historyActions;
    TfrmMain window;
};
