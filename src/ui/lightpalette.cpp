// SPDX-License-Identifier: GPL-3.0-or-later
#include "lightpalette.h"

#include <QApplication>
#include <QToolTip>

namespace {

struct RoleColors
{
    QPalette::ColorRole role;
    QColor normal; // active and inactive
    QColor disabled;
};

const QColor buttonFace(0xEF, 0xEF, 0xEF);
const QColor disabledText(0xBE, 0xBE, 0xBE);

} // namespace

QPalette lightPalette()
{
    const RoleColors roles[] = {
        {QPalette::WindowText, Qt::black, disabledText},
        {QPalette::Button, buttonFace, buttonFace},
        {QPalette::Light, Qt::white, Qt::white},
        {QPalette::Midlight, QColor(0xCA, 0xCA, 0xCA), QColor(0xCA, 0xCA, 0xCA)},
        {QPalette::Dark, QColor(0x9F, 0x9F, 0x9F), disabledText},
        {QPalette::Mid, QColor(0xB8, 0xB8, 0xB8), QColor(0xB8, 0xB8, 0xB8)},
        {QPalette::Text, Qt::black, disabledText},
        {QPalette::BrightText, Qt::white, Qt::white},
        {QPalette::ButtonText, Qt::black, disabledText},
        {QPalette::Base, Qt::white, buttonFace},
        {QPalette::Window, buttonFace, buttonFace},
        {QPalette::Shadow, QColor(0x76, 0x76, 0x76), QColor(0xB1, 0xB1, 0xB1)},
        {QPalette::Highlight, QColor(0x30, 0x8C, 0xC6), QColor(0x91, 0x91, 0x91)},
        {QPalette::HighlightedText, Qt::white, Qt::white},
        {QPalette::Link, Qt::blue, Qt::blue},
        {QPalette::LinkVisited, Qt::magenta, Qt::magenta},
        {QPalette::AlternateBase, QColor(0xF7, 0xF7, 0xF7), QColor(0xF7, 0xF7, 0xF7)},
        {QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xDC), QColor(0xFF, 0xFF, 0xDC)},
        {QPalette::ToolTipText, Qt::black, Qt::black},
        {QPalette::PlaceholderText, QColor(0, 0, 0, 128), QColor(0, 0, 0, 128)},
    };
    QPalette palette;
    for (const RoleColors &colors : roles) {
        palette.setColor(QPalette::Active, colors.role, colors.normal);
        palette.setColor(QPalette::Inactive, colors.role, colors.normal);
        palette.setColor(QPalette::Disabled, colors.role, colors.disabled);
    }
    return palette;
}

void installLightPalette()
{
    const QPalette palette = lightPalette();
    // This also drops the palettes a theme may have given single classes (menus,
    // message box labels...). Tooltips keep a palette of their own.
    QApplication::setPalette(palette);
    QToolTip::setPalette(palette);
}
