// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The colour in which the answer record panel flashes: lime for an accepted
// answer, red for every other verdict. The view chooses the shade.
enum class FlashColor {
    Red,
    Lime,
};
