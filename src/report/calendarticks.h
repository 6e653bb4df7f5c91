// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "svglinechart.h"

#include <QDate>

// The time axis of the progress charts, in days (Julian day numbers): from the
// first day of `from` to the first day after `to`, with ticks at calendar
// boundaries inside it: every Monday ("2026-12-07"), every one, two, three or six
// months ("2026-12"), or every one, two, five or ten years ("2026"), the finest
// of them that gives no more than `most` ticks.
TimeAxis calendarAxis(const QDate &from, const QDate &to, int most);
