#pragma once

#include <QLabel>

// A command link: blue text with the hand pointer that turns red while the mouse
// is over it, and reports a click.
class CommandLink : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(bool hovered READ isHovered)

public:
    explicit CommandLink(QWidget *parent = nullptr);

    bool isHovered() const { return m_hovered; }

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setHovered(bool hovered);

    bool m_hovered = false;
    bool m_pressed = false;
};
