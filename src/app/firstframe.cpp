// SPDX-License-Identifier: GPL-3.0-or-later
#include "firstframe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class FirstFrameWatcher final : public QObject
{
public:
    FirstFrameWatcher(QWidget &window, std::function<void()> action) : QObject(&window), m_action(std::move(action))
    {
        window.installEventFilter(this);
    }

    // The paint event ends before the frame reaches the screen; the action
    // runs from the event loop once it has.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, std::move(m_action));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void runAfterFirstFrame(QWidget &window, std::function<void()> action)
{
    new FirstFrameWatcher(window, std::move(action));
}
