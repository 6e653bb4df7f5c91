// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"
#include "app/commandline.h"
#include "app/runninghistoryactions.h"
#include "app/singleinstance.h"
#include "store/database.h"
#include "training/monotonicclock.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"
#include "ui/tfrmmain.h"

#include <QApplication>

// The composition root, in the order of the start-up: the command line, the
// application, the data file's path and the single-instance guard on it; then
// the database, the clock and the random source make the training engine, and
// the main window shows it.
int main(int argc, char *argv[])
{
    if (const std::optional<int> exitCode = handleCommandLineWithoutDisplay(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    // The one place where the data file is chosen: the user's own, or the one
    // --data names. The guard, the store and the windows all work on this path.
    QString dataPath;
    if (const std::optional<int> exitCode = handleCommandLine(QApplication::arguments(), dataPath))
        return *exitCode;
    configureApplication(app);

    // One running Zorvel per data file: a later start brings the first to the
    // front and ends without opening it.
    SingleInstance instance(dataPath);
    if (const std::optional<int> exitCode = instance.claimOrHandOver())
        return *exitCode;

    // The main window's creation handler starts the engine, which opens the file.
    Database database;
    MonotonicClock clock;
    RandomSource random;
    TrainingEngine engine(database, dataPath, clock, random);
    RunningHistoryActions historyActions(engine, database, dataPath);
    TfrmMain window(engine, database);
    window.setHistoryActions(&historyActions);
    window.show();
    return app.exec();
}
