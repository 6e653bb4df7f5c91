// SPDX-License-Identifier: GPL-3.0-or-later
#include "chartpalette.h"

#include <array>

namespace {

// None of these is white, which would vanish into the bars' white gradient end,
// or the pale yellow of the marks.
constexpr std::array<QRgb, 12> standardPalette{
    qRgb(255, 0, 0),     // red
    qRgb(0, 128, 0),     // green
    qRgb(255, 255, 0),   // yellow
    qRgb(0, 0, 255),     // blue
    qRgb(255, 128, 0),   // orange
    qRgb(128, 0, 128),   // purple
    qRgb(0, 128, 128),   // teal
    qRgb(128, 0, 0),     // maroon
    qRgb(0, 0, 128),     // navy
    qRgb(128, 128, 0),   // olive
    qRgb(255, 0, 255),   // fuchsia
    qRgb(128, 128, 128), // grey
};

} // namespace

int chartPaletteSize()
{
    return int(standardPalette.size());
}

QColor chartPaletteColor(int position)
{
    const int size = chartPaletteSize();
    const int index = ((position % size) + size) % size;
    return QColor::fromRgb(standardPalette[std::size_t(index)]);
}
