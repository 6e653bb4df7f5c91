// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

// Speaks texts through screen readers without showing anything: each
// announcement is a notification that appears to them (a "showing" change of
// an object of its own with the notification role, named by the text), which
// Orca speaks at once. Qt 6.4 has no announcement of its own, and the text of a
// changed name or description does not reach Orca from Qt.
//
// The texts given while one event is handled (a verdict and the score it
// raised) are spoken together once it is done, as one notification: a second
// notification would cut the first one short.
class Announcer : public QObject
{
    Q_OBJECT

public:
    // The notifications belong to `window` for screen readers.
    explicit Announcer(QWidget *window);

    void announce(const QString &text);
    // The text of the last notification.
    QString lastText() const { return m_text; }

private:
    void speakPending();

    QWidget *m_window;
    QString m_text;
    QStringList m_pending;
    QList<QObject *> m_notifications; // the newest last
};

// Texts spoken as one, in order: a comma stands between two unless the first
// ends with a punctuation mark of its own; empty texts are left out.
QString joinedAnnouncement(const QStringList &texts);
