// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

// Runs `action` once on the event loop, after `window` has painted for the first
// time: work that can wait does not delay what the user sees first.
void runAfterFirstFrame(QWidget &window, std::function<void()> action);
