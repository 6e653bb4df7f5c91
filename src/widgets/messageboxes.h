// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QStringList>

#include <exception>

// Every message box of the program goes through here, so that a test can answer
// the next question box itself and see which boxes were shown.
class MessageBoxes
{
public:
    // The new-question confirmation: true for "&Yes".
    static bool confirmNewQuestion(QWidget *parent);
    // The warning before everything is cleared: true for Yes.
    static bool confirmClearAll(QWidget *parent);
    // A confirmation before a history replaces the current one (`text` says
    // which): true for Yes.
    static bool confirmRestore(QWidget *parent, const QString &text);
    // An error box: critical icon, the program's name as caption.
    static void showError(QWidget *parent, const QString &text);
    // Something the user must know before going on (an information or warning
    // icon), with the program's name as caption and one OK button.
    static void showNotice(QWidget *parent, QMessageBox::Icon icon, const QString &text);
    // Runs a window's command; one that fails ends where it failed, its error
    // is shown over `parent`, and the window carries on.
    template<typename Command>
    static void runShowingError(QWidget *parent, Command &&command)
    {
        try {
            command();
        } catch (const std::exception &error) {
            showError(parent, QString::fromUtf8(error.what()));
        }
    }

    // From now on, no box is shown: question boxes take their answers from the
    // queue (Cancel when it is empty) and every box's text is recorded.
    static void scriptAnswers(const QList<QMessageBox::StandardButton> &answers);
    static QStringList shownTexts();
    static void clearShownTexts();

private:
    static QMessageBox::StandardButton ask(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                           const QString &text, QMessageBox::StandardButton defaultButton);
};
