// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QWidget>

namespace {

// Notifications kept for screen readers that read them late.
constexpr int keptNotifications = 8;

// One announcement as screen readers see it: a notification inside the window,
// named by its text for as long as it exists. A screen reader reads the name
// when it comes to the event, which may be after later announcements.
class NotificationAccessible final : public QAccessibleObject
{
public:
    NotificationAccessible(QObject *notification, QWidget *window, const QString &text)
        : QAccessibleObject(notification),
          m_window(window),
          m_text(text)
    {
    }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_window); }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text kind) const override { return kind == QAccessible::Name ? m_text : QString(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
    QRect rect() const override { return {}; }

private:
    QWidget *m_window;
    QString m_text;
};

} // namespace

Announcer::Announcer(QWidget *window) : QObject(window), m_window(window)
{
}

void Announcer::announce(const QString &text)
{
    if (text.isEmpty())
        return;
    m_pending.append(text);
    if (m_pending.size() == 1)
        QMetaObject::invokeMethod(this, &Announcer::speakPending, Qt::QueuedConnection);
}

void Announcer::speakPending()
{
    m_text = joinedAnnouncement(m_pending);
    m_pending.clear();
    if (!QAccessible::isActive())
        return;
    auto *notification = new QObject(this);
    m_notifications.append(notification);
    if (m_notifications.size() > keptNotifications)
        delete m_notifications.takeFirst();
    auto *accessible = new NotificationAccessible(notification, m_window, m_text);
    QAccessible::registerAccessibleInterface(accessible);
    QAccessibleEvent shown(accessible, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

QString joinedAnnouncement(const QStringList &texts)
{
    static const QString closingMarks = QStringLiteral("。！？；，、…!?.;,");
    QString joined;
    for (const QString &text : texts) {
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!joined.isEmpty() && !closingMarks.contains(joined.back()))
            joined += QStringLiteral("，");
        joined += trimmed;
    }
    return joined;
}
