// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/closebuttondialog.h"

#include <memory>

namespace Ui {
class TfrmAbout;
}

// The About window: what the tool is for and how to use it, a disclaimer and a
// contact line. The three text boxes can be edited, but the window reads and
// keeps nothing; closing it is its only behaviour.
class TfrmAbout : public CloseButtonDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget *parent = nullptr);
    ~TfrmAbout() override;

private:
    void Button1Click();
    void setUpTextBoxes();

    std::unique_ptr<Ui::TfrmAbout> ui;
};
