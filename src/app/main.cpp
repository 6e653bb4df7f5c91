#include "app/application.h"
#include "ui/tfrmmain.h"

#include <QApplication>

#include <cstdio>

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
    TfrmMain window;
    window.show();
    return app.exec();
}
