// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtTest>

// The main() of a test that shows widgets: it runs on the offscreen platform,
// whatever platform the caller's environment names.
#define ZORVEL_WIDGET_TEST_MAIN(TestObject)                                                                            \
    [[maybe_unused]] static const bool zorvelTestUsesOffscreen = qputenv("QT_QPA_PLATFORM", "offscreen");              \
    QTEST_MAIN(TestObject)
