// SPDX-License-Identifier: GPL-3.0-or-later
// Planted: the chart reads the history.
#include "store/historystatistics.h"
#include "ui_chart.h"
