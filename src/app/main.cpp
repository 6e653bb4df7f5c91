// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/commandline.h"
#include "app/singleinstance.h"
#include "store/database.h"
#include "store/location.h"
#include "training/monotonicclock.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"
#include "ui/tfrmmain.h"

#include <QApplication>

// The composition root: the database, the clock and the random source make the
// training engine, and the main window shows it.
int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = handleCommandLineWithoutDisplay(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    if (const std::optional<int> exitCode = handleCommandLine(QApplication::arguments()))
        return *exitCode;
    configureApplication(app);

    // One running Zorvel per data file: a later start brings the first to the
    // front and ends without opening the database.
    SingleInstance instance(databaseFileLocation());
    if (const std::optional<int> exitCode = instance.claimOrHandOver())
        return *exitCode;

    Database database;
    MonotonicClock clock;
    RandomSource random;
    TrainingEngine engine(database, clock, random);
    TfrmMain window(engine, database);
    window.show();
    return app.exec();
}
