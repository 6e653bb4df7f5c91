// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class Chart;

// One bar of a chart for screen readers: a list item named by the bar's label
// and value, with the value as its value text. It follows the chart's content:
// a bar the chart no longer has is invalid.
class ChartBarAccessible : public QAccessibleInterface
{
public:
    ChartBarAccessible(Chart *chart, int index);

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

    int index() const { return m_index; }

private:
    QPointer<Chart> m_chart;
    int m_index;
};
