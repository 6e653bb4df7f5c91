// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>

// The light palette that the windows' colours were chosen for: button-face
// windows and buttons, black text, white boxes. Every role of every group is
// set, so nothing of the desktop's colour scheme shows through.
QPalette lightPalette();

// Makes it the palette of every window, message box, menu and tooltip, whatever
// the desktop's colour scheme: a dark scheme would leave the blue, maroon and red
// texts on a dark ground and the light bevels glaring.
void installLightPalette();
