// SPDX-License-Identifier: GPL-3.0-or-later
// Planted: two folders that include each other.
#include "evaluate/window.h"
