#include "app/application.h"
#include "store/database.h"
#include "training/monotonicclock.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"
#include "ui/tfrmmain.h"

#include <QApplication>

#include <cstdio>

// The composition root: the database, the clock and the random source make the
// training engine, and the main window shows it.
int main(int argc, char *argv[])
{
    if (!hasGraphicalDisplay()) {
        std::fputs("zorvel: no graphical display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                   "to run without one, use: xvfb-run ./build/zorvel\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    configureApplication(app);

    Database database;
    MonotonicClock clock;
    RandomSource random;
    TrainingEngine engine(database, clock, random);
    TfrmMain window(engine, database);
    window.show();
    return app.exec();
}
