// SPDX-License-Identifier: GPL-3.0-or-later
#include "chartbaraccessible.h"

#include "chart.h"
#include "horizontalbarseries.h"

#include <QWidget>
#include <QWindow>

ChartBarAccessible::ChartBarAccessible(Chart *chart, int index) : m_chart(chart), m_index(index)
{
}

bool ChartBarAccessible::isValid() const
{
    return m_chart && m_index < m_chart->barCount();
}

QObject *ChartBarAccessible::object() const
{
    return nullptr;
}

QWindow *ChartBarAccessible::window() const
{
    return m_chart ? m_chart->window()->windowHandle() : nullptr;
}

QAccessibleInterface *ChartBarAccessible::parent() const
{
    return m_chart ? QAccessible::queryAccessibleInterface(m_chart.data()) : nullptr;
}

QAccessibleInterface *ChartBarAccessible::child(int) const
{
    return nullptr;
}

int ChartBarAccessible::childCount() const
{
    return 0;
}

int ChartBarAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QAccessibleInterface *ChartBarAccessible::childAt(int, int) const
{
    return nullptr;
}

QString ChartBarAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    if (t == QAccessible::Name)
        return m_chart->barText(m_index);
    if (t == QAccessible::Value) {
        const Chart::BarIndex bar = m_chart->barAt(m_index);
        return QString::number(m_chart->series(bar.series)->value(bar.point));
    }
    return {};
}

void ChartBarAccessible::setText(QAccessible::Text, const QString &)
{
}

QRect ChartBarAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect area = m_chart->barArea(m_index).toAlignedRect();
    return QRect(m_chart->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::Role ChartBarAccessible::role() const
{
    return QAccessible::ListItem;
}

QAccessible::State ChartBarAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.selectable = true;
    const bool current = m_chart->currentBar() == m_index;
    state.selected = current;
    state.focused = current && m_chart->hasFocus();
    state.invisible = !m_chart->isVisible();
    return state;
}
