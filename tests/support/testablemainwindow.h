// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakeclock.h"

#include "store/database.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"
#include "ui/tfrmmain.h"

// The main window put together as the program does it, but on a clock that is
// moved on by hand and a random source with a fixed seed. Building it opens the
// database in the current home folder.
struct TestableMainWindow
{
    explicit TestableMainWindow(quint32 seed = 77)
        : random(seed),
          engine(database, clock, random),
          window(engine, database)
    {
    }

    FakeClock clock;
    RandomSource random;
    Database database;
    TrainingEngine engine;
    TfrmMain window;
};
