// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/database.h"
#include "trainingstate.h"
#include "verdict.h"

#include <QList>
#include <QString>

#include <functional>

class Clock;
class Database;
class RandomSource;
class TrainingView;

// The training loop: starts questions, judges answers, scores them and keeps the
// store and the view in step. It knows nothing of widgets: it reports to the
// TrainingView it is given. Every database error leaves as a DatabaseError (a
// std::runtime_error whose what() is the message for the user, in UTF-8) after
// the store and the state have been put back.
class TrainingEngine
{
public:
    // The engine of the database file at `dataFile`.
    TrainingEngine(Database &db, const QString &dataFile, const Clock &clock, RandomSource &random);
    // The same on the file in the user's data folder.
    TrainingEngine(Database &db, const Clock &clock, RandomSource &random);

    // The view that shows what the engine does; until one is set, nothing is shown.
    void setView(TrainingView &view);

    // Start-up: opens the database file (OpenDatabase: created and seeded when
    // missing, tidied beside it when writable) and resets the state. Returns what
    // the user must be told (logs set aside, a read-only or damaged file).
    QList<StartupNotice> start();
    // After the first frame: reads the whole file in the background; `finished`
    // is called from the checking thread when it ends. Writes wait for it.
    void checkHistoryInBackground(std::function<void()> finished);
    // Once the check has ended (waits for it otherwise): finishOpening(), once; a
    // damaged file is told and turns read-only. The first new question does this
    // as well.
    QList<StartupNotice> historyChecked();
    // End of the run: discards an unanswered current question, empties the answer
    // list and closes the database. The database is closed even when the discard fails.
    void finish();

    // Reads ahead, at a moment nobody waits for, what makes new questions fast:
    // the dictionary's words of each class. A failure is left for the command
    // that needs them, which reports it.
    void readAhead();

    // The new-question command, after the user has confirmed it.
    void startNewQuestion();
    // Judges the text of the answer box. Returns true when the answer box is to be
    // emptied, false when it keeps its text (blank input).
    bool submitAnswer(const QString &answerBoxText);
    // Restores the seed content, after the user has confirmed it. A backup of the
    // history is written first; when it cannot be, nothing is deleted.
    void clearAllRecords();

    // Puts the history in `source` (opened by openRestoreSource) in place of the
    // one the engine works on, through replaceHistory, which keeps the current
    // one in its backups first; the session goes on with the restored history
    // from a fresh state, and the view is reset. Returns the kept copy's path and
    // the opening's notices. When the history cannot be replaced, the file is
    // opened again as it was, the session goes on where it was, and the
    // DatabaseError that says why leaves.
    QString restoreHistory(Database &source, QList<StartupNotice> &notices);

    const TrainingState &state() const { return m_state; }

private:
    void storeAcceptedAnswer(const QString &answer);

    Database &m_db;
    const QString m_dataFile;
    TrainingView *m_view;
    const Clock &m_clock;
    RandomSource &m_random;
    TrainingState m_state;
    bool m_openingPending = false;
};
