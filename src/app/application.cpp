#include "application.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>

void InstallFontSubstitutions()
{
    const QStringList songFaces{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Songti SC"), QStringLiteral("SimSun")};
    QFont::insertSubstitutions(QStringLiteral("SimSun"), songFaces);
    QFont::insertSubstitutions(QStringLiteral("宋体"), songFaces);
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Helvetica")});
}

void ConfigureApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Zorvel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zorvel"));
    QApplication::setApplicationVersion(QStringLiteral(ZORVEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.zorvel.Zorvel"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zorvel-%1.png").arg(size), QSize(size, size));
    app.setWindowIcon(icon);
    InstallFontSubstitutions();
}

bool HasGraphicalDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}
