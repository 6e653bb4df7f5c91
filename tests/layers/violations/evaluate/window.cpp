// SPDX-License-Identifier: GPL-3.0-or-later
// Planted: the evaluation window reaches up into the main window.
#include "ui/tfrmmain.h"
