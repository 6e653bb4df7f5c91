// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include "ui/lightpalette.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

void installFontSubstitutions()
{
    // SimSun and Arial are Windows' own fonts; there the system's choice stands.
#ifndef Q_OS_WIN
    const QStringList songFaces{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Songti SC"), QStringLiteral("SimSun")};
    QFont::insertSubstitutions(QStringLiteral("SimSun"), songFaces);
    QFont::insertSubstitutions(QStringLiteral("宋体"), songFaces);
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Helvetica")});
#endif
}

namespace {

// Qt's own texts (the context menus of the text boxes, for instance) in Chinese,
// as the rest of the window, where Qt's translations are installed.
void installQtTranslation(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void configureApplication(QApplication &app)
{
    // The display name follows the application name. It is deliberately not set
    // on its own: an explicit display name is appended to every window title on
    // X11 ("Confirm — Zorvel"), and the captions of the message boxes and the
    // modal windows must read exactly as they are given.
    QApplication::setApplicationName(QStringLiteral("Zorvel"));
    QApplication::setApplicationVersion(QStringLiteral(ZORVEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.zorvel.Zorvel"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zorvel-%1.png").arg(size), QSize(size, size));
    app.setWindowIcon(icon);
    installFontSubstitutions();
    installLightPalette();
    installQtTranslation(app);
}

bool hasGraphicalDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}
