// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

class QApplication;
class QCoreApplication;
class QString;

// Names, icon, fonts, palette and translations of the program, set once
// before the first window.
// The windows ask for SimSun and Arial; where those are missing (anywhere but on
// Windows, where they belong to the system), a Song-style CJK face and a
// metric-compatible sans take their place.
void configureApplication(QApplication &app);

// Qt's own texts and the command line's in the language of `locale` (the
// system's, unless the default locale was set) where there is a translation
// into it, English otherwise. Replaces what an earlier call installed.
void installTranslations(QCoreApplication &app, const QLocale &locale = QLocale());

// The font substitutions alone, for tests and tools that render windows.
void installFontSubstitutions();

// False on a Linux or BSD system without an X11 or Wayland display, where Qt
// could only abort.
bool hasGraphicalDisplay();

// Whether one of the Qt platforms named in `platforms` (QT_QPA_PLATFORM: a list
// separated by ';', each with options after ':'; empty for Qt's default) can
// start, given whether an X11 and a Wayland display are named.
bool platformHasDisplay(const QString &platforms, bool x11Display, bool waylandDisplay);
