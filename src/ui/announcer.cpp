// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QWidget>

namespace {

// The announcer as screen readers see it: a notification inside the window,
// named by the last text.
class AnnouncerAccessible final : public QAccessibleObject
{
public:
    explicit AnnouncerAccessible(Announcer *announcer, QWidget *window)
        : QAccessibleObject(announcer),
          m_announcer(announcer),
          m_window(window)
    {
    }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_window); }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? m_announcer->lastText() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
    QRect rect() const override { return {}; }

private:
    Announcer *m_announcer;
    QWidget *m_window;
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
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(this);
    if (!accessible) {
        accessible = new AnnouncerAccessible(this, m_window);
        QAccessible::registerAccessibleInterface(accessible);
    }
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
