// SPDX-License-Identifier: GPL-3.0-or-later
#include "closebuttondialog.h"

#include <QAbstractButton>
#include <QKeyEvent>

void CloseButtonDialog::setCloseButton(QAbstractButton *button)
{
    m_closeButton = button;
}

void CloseButtonDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_closeButton && m_closeButton->hasFocus()) {
            m_closeButton->click();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}
