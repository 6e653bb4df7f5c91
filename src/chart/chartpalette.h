// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The colour a point takes when it asks for the automatic colour and its series
// colours each point on its own: red, green, yellow and blue for positions 0 to 3,
// then further distinct colours; the list repeats for higher positions.
QColor chartPaletteColor(int position);

// How many colours the palette holds before it repeats.
int chartPaletteSize();
