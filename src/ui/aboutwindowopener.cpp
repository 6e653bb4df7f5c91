// SPDX-License-Identifier: GPL-3.0-or-later
#include "aboutwindowopener.h"

#include "tfrmabout.h"

void openAboutWindow(QWidget *parent)
{
    auto *window = new TfrmAbout(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (parent)
        window->centerOver(*parent);
    window->exec();
}
