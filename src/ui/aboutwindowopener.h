// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Opens a new About window centred over `parent` and waits until the user closes
// it. The window is freed once it has closed, so that text typed into it is gone
// the next time.
void openAboutWindow(QWidget *parent);
