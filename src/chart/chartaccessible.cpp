// SPDX-License-Identifier: GPL-3.0-or-later
#include "chartaccessible.h"

#include "chart.h"
#include "chartbaraccessible.h"

ChartAccessible::ChartAccessible(Chart *chart) : QAccessibleWidget(chart, QAccessible::Chart)
{
}

ChartAccessible::~ChartAccessible()
{
    for (QAccessible::Id id : std::as_const(m_bars)) {
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
    }
}

Chart *ChartAccessible::chart() const
{
    return static_cast<Chart *>(widget());
}

QString ChartAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && chart()->accessibleName().isEmpty())
        return chart()->title();
    return QAccessibleWidget::text(t);
}

int ChartAccessible::childCount() const
{
    return chart()->barCount();
}

QAccessibleInterface *ChartAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (index >= m_bars.size())
        m_bars.resize(index + 1, 0);
    if (m_bars[index] == 0)
        m_bars[index] = QAccessible::registerAccessibleInterface(new ChartBarAccessible(chart(), index));
    return QAccessible::accessibleInterface(m_bars[index]);
}

int ChartAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child || child->parent() != this || child->role() != QAccessible::ListItem)
        return -1;
    const int index = static_cast<const ChartBarAccessible *>(child)->index();
    return index < childCount() ? index : -1;
}

QAccessibleInterface *ChartAccessible::childAt(int x, int y) const
{
    for (int index = 0; index < childCount(); ++index) {
        QAccessibleInterface *bar = child(index);
        if (bar->rect().contains(x, y))
            return bar;
    }
    return nullptr;
}

QAccessibleInterface *ChartAccessible::focusChild() const
{
    if (!chart()->hasFocus())
        return nullptr;
    return child(chart()->currentBar());
}

QAccessibleInterface *ChartAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1StringView("Chart") && object && object->isWidgetType())
        return new ChartAccessible(static_cast<Chart *>(object));
    return nullptr;
}
