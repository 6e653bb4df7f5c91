// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QAbstractButton;

// A dialog left only through its close button: it has no default and no cancel
// button, so Escape does nothing and Enter closes it only while the close button
// has the focus. The title bar's close button works as usual.
class CloseButtonDialog : public QDialog
{
    Q_OBJECT

public:
    using QDialog::QDialog;

protected:
    void setCloseButton(QAbstractButton *button);
    void keyPressEvent(QKeyEvent *event) override;

private:
    QAbstractButton *m_closeButton = nullptr;
};
