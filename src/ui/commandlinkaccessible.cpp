// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandlinkaccessible.h"

#include "commandlink.h"

CommandLinkAccessible::CommandLinkAccessible(CommandLink *link) : QAccessibleWidget(link, QAccessible::PushButton)
{
}

CommandLink *CommandLinkAccessible::link() const
{
    return static_cast<CommandLink *>(widget());
}

QString CommandLinkAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && link()->accessibleName().isEmpty())
        return link()->text();
    if (t == QAccessible::Accelerator)
        return link()->shortcut().toString(QKeySequence::NativeText);
    return QAccessibleWidget::text(t);
}

QStringList CommandLinkAccessible::actionNames() const
{
    return {pressAction()};
}

void CommandLinkAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && link()->isEnabled())
        link()->click();
}

QStringList CommandLinkAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionName != pressAction() || link()->shortcut().isEmpty())
        return {};
    return {link()->shortcut().toString(QKeySequence::NativeText)};
}

QAccessibleInterface *CommandLinkAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1StringView("CommandLink") && object && object->isWidgetType())
        return new CommandLinkAccessible(static_cast<CommandLink *>(object));
    return nullptr;
}
