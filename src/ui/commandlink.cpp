#include "commandlink.h"

#include <QMouseEvent>
#include <QStyle>

CommandLink::CommandLink(QWidget *parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
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
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
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
