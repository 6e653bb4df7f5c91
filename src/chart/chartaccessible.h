// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QList>

class Chart;

// What a screen reader sees of a chart: a chart named by its accessible name
// (its title when it has none), whose children are its bars in reading order,
// the current one focused while the chart has the focus.
class ChartAccessible : public QAccessibleWidget
{
public:
    explicit ChartAccessible(Chart *chart);
    ~ChartAccessible() override;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    // For QAccessible::installFactory.
    static QAccessibleInterface *create(const QString &className, QObject *object);

private:
    Chart *chart() const;

    // The bars' interfaces, made when first asked for and registered with Qt,
    // which gives them out by id; 0 for one not made yet.
    mutable QList<QAccessible::Id> m_bars;
};
