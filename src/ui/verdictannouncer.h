// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Speaks a text through screen readers without showing anything: each
// announcement is a notification that appears to them (a "showing" change of
// an object with the notification role, named by the text), which Orca
// speaks at once. Qt 6.4 has no announcement of its own, and the text of a
// changed name or description does not reach Orca from Qt.
class VerdictAnnouncer : public QObject
{
    Q_OBJECT

public:
    // The notifications belong to `window` for screen readers.
    explicit VerdictAnnouncer(QWidget *window);

    void announce(const QString &text);
    QString lastText() const { return m_text; }

private:
    QWidget *m_window;
    QString m_text;
};
