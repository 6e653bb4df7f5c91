// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QAbstractButton;

// Moves a top-level window so that the centre of its outer frame lies on
// `centre`. Until it is first shown a window has no frame; `decoration` is the
// frame it will get (none when unknown).
void centerWindowOn(QWidget &window, const QPoint &centre, const QSize &decoration = QSize());

// A fixed dialog left only through its close button: a title bar with a close
// button and no other, no default and no cancel button, so Escape does nothing
// and Enter presses only the button that has the focus (it closes the dialog
// only while the close button has it). The title bar's
// close button works as usual.
//
// The window flags are set as the dialog is constructed, before the derived
// window builds its controls: set afterwards, they would restyle every control.
class CloseButtonDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CloseButtonDialog(QWidget *parent = nullptr);

    // Centred over `window`, outer frame on outer frame.
    void centerOver(const QWidget &window);
    // Centred on the screen that shows the window it was opened from.
    void centerOnScreen();

protected:
    void setCloseButton(QAbstractButton *button);
    void keyPressEvent(QKeyEvent *event) override;

private:
    QAbstractButton *m_closeButton = nullptr;
};
