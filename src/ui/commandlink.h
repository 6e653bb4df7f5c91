// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QLabel>

class QShortcut;

// A command link: blue text with the hand pointer that turns red while the mouse
// is over it, and reports a click. Its key, while its window is active, and a
// screen reader's press action click it as the mouse does; it never takes the
// keyboard focus.
class CommandLink : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(bool hovered READ isHovered)

public:
    explicit CommandLink(QWidget *parent = nullptr);

    bool isHovered() const { return m_hovered; }

    void setShortcut(const QKeySequence &key);
    QKeySequence shortcut() const;

    // What a click does.
    void click();

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setHovered(bool hovered);

    QShortcut *m_shortcut = nullptr;
    bool m_hovered = false;
    bool m_pressed = false;
};
