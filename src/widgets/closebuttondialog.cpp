// SPDX-License-Identifier: GPL-3.0-or-later
#include "closebuttondialog.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

void centerWindowOn(QWidget &window, const QPoint &centre, const QSize &decoration)
{
    const QSize frame = window.isVisible() ? window.frameGeometry().size() : window.size() + decoration;
    window.move(centre - QRect(QPoint(), frame).center());
}

CloseButtonDialog::CloseButtonDialog(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint)
{
}

void CloseButtonDialog::centerOver(const QWidget &window)
{
    const QWidget &frameOwner = *window.window();
    // This window will get the same decoration as the one it is centred over.
    const QSize decoration = frameOwner.frameGeometry().size() - frameOwner.geometry().size();
    centerWindowOn(*this, frameOwner.frameGeometry().center(), decoration);
}

void CloseButtonDialog::centerOnScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (screen)
        centerWindowOn(*this, screen->availableGeometry().center());
}

// A push button of a dialog would otherwise be its default button, which Enter
// in any other control presses.
void CloseButtonDialog::setCloseButton(QAbstractButton *button)
{
    m_closeButton = button;
    if (auto *pushButton = qobject_cast<QPushButton *>(button)) {
        pushButton->setAutoDefault(false);
        pushButton->setDefault(false);
    }
}

void CloseButtonDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QAbstractButton *>(focusWidget()); button && button->isEnabled()) {
            button->click();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}
