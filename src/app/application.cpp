// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include "ui/lightpalette.h"
#include "widgets/installedfonts.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>

namespace {

// The translators installTranslations made, as children of the application.
const QString translatorName = QStringLiteral("zorvelTranslation");

} // namespace

void installFontSubstitutions()
{
    // SimSun and Arial are Windows' own fonts; there the system's choice stands.
#ifndef Q_OS_WIN
    const QStringList songFaces{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Songti SC"), QStringLiteral("SimSun")};
    QFont::insertSubstitutions(QStringLiteral("SimSun"), songFaces);
    QFont::insertSubstitutions(QStringLiteral("宋体"), songFaces);
    QFont::insertSubstitutions(
        QStringLiteral("Arial"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Helvetica")});
#endif
}

// Qt's own texts (the buttons of the message boxes, the context menus of the
// text boxes) and the command line's in the language of `locale`, where a
// translation into it is installed (Qt's) or built in (Zorvel's, in Chinese);
// otherwise they stay English. A later call replaces what an earlier one
// installed.
void installTranslations(QCoreApplication &app, const QLocale &locale)
{
    for (QTranslator *earlier : app.findChildren<QTranslator *>(translatorName, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(earlier);
        delete earlier;
    }
    const auto install = [&app, &locale](const QString &name, const QString &folder) {
        auto *translator = new QTranslator(&app);
        translator->setObjectName(translatorName);
        if (translator->load(locale, name, QStringLiteral("_"), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    };
    install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    install(QStringLiteral("zorvel"), QStringLiteral(":/i18n"));
}

void configureApplication(QApplication &app)
{
    // The display name follows the application name. It is deliberately not set
    // on its own: an explicit display name is appended to every window title on
    // X11 ("Confirm — Zorvel"), and the captions of the message boxes and the
    // modal windows must read exactly as they are given.
    QApplication::setApplicationName(QStringLiteral("Zorvel"));
    QApplication::setApplicationVersion(QStringLiteral(ZORVEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.zorvel.Zorvel"));
    // The title bar's size and the task bar's; the format is named, so that no
    // image plug-in is loaded to find it out.
    QIcon icon;
    for (int size : {16, 48})
        icon.addPixmap(QPixmap(QStringLiteral(":/icons/zorvel-%1.png").arg(size), "PNG"));
    app.setWindowIcon(icon);
    installFontSubstitutions();
    QApplication::installTranslator(new InstalledFontTranslator(&app));
    installLightPalette();
    installTranslations(app);
}

bool platformHasDisplay(const QString &platforms, bool x11Display, bool waylandDisplay)
{
    if (platforms.isEmpty())
        return x11Display || waylandDisplay;
    // Qt tries the platforms of a list in turn; options follow a colon.
    const QStringList names = platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return std::any_of(names.cbegin(), names.cend(), [&](const QString &entry) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (name == QStringLiteral("xcb"))
            return x11Display;
        if (name.startsWith(QStringLiteral("wayland")))
            return waylandDisplay;
        return !name.isEmpty();
    });
}

bool hasGraphicalDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return platformHasDisplay(qEnvironmentVariable("QT_QPA_PLATFORM"), !qEnvironmentVariableIsEmpty("DISPLAY"),
                              !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
#else
    return true;
#endif
}
