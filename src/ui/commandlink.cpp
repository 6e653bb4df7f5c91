// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandlink.h"

#include "commandlinkaccessible.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QShortcut>
#include <QStyle>

CommandLink::CommandLink(QWidget *parent) : QLabel(parent)
{
    static const bool accessibleFactoryInstalled = [] {
        QAccessible::installFactory(&CommandLinkAccessible::create);
        return true;
    }();
    Q_UNUSED(accessibleFactoryInstalled);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
}

void CommandLink::setShortcut(const QKeySequence &key)
{
    if (!m_shortcut) {
        m_shortcut = new QShortcut(this);
        m_shortcut->setContext(Qt::WindowShortcut);
        connect(m_shortcut, &QShortcut::activated, this, &CommandLink::click);
    }
    m_shortcut->setKey(key);
}

QKeySequence CommandLink::shortcut() const
{
    return m_shortcut ? m_shortcut->key() : QKeySequence();
}

void CommandLink::click()
{
    emit clicked();
}

void CommandLink::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QLabel::enterEvent(event);
}

void CommandLink::leaveEvent(QEvent *event)
{
    setHovered(false);
    QLabel::leaveEvent(event);
}

void CommandLink::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

// A click is a left press and release on the link, as with a button.
void CommandLink::mouseReleaseEvent(QMouseEvent *event)
{
    const bool isClick = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (isClick)
        click();
}

// The colours live in the window's style sheet, keyed on the "hovered" property.
void CommandLink::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    style()->unpolish(this);
    style()->polish(this);
    update();
}
