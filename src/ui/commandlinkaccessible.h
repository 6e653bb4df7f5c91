// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

class CommandLink;

// What a screen reader sees of a command link: a push button named by its text,
// with a press action that clicks it and the link's key as that action's key
// binding. It takes no keyboard focus, as the link itself does not.
class CommandLinkAccessible : public QAccessibleWidget
{
public:
    explicit CommandLinkAccessible(CommandLink *link);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

    // For QAccessible::installFactory.
    static QAccessibleInterface *create(const QString &className, QObject *object);

private:
    CommandLink *link() const;
};
