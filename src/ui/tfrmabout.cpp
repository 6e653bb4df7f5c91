// SPDX-License-Identifier: GPL-3.0-or-later
#include "tfrmabout.h"
#include "ui_tfrmabout.h"

#include <QTextBlockFormat>
#include <QTextCursor>

namespace {

// Room between a text box's edge and its text: small enough for the longest line
// of each box to stay on one line.
constexpr qreal textMargin = 2;
// Distance between the baselines of two lines, in pixels, whatever the font's own
// line spacing: the five description lines must fit into their 89-pixel box.
constexpr qreal linePitch = 17;

// Gives every paragraph, including those the user adds, the fixed line pitch.
// The change itself cannot be undone by the user.
void setLinePitch(QTextEdit *memo)
{
    QTextDocument *document = memo->document();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(linePitch, QTextBlockFormat::FixedHeight);
    cursor.mergeBlockFormat(format);
    document->setUndoRedoEnabled(true);
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *parent) : CloseButtonDialog(parent), ui(std::make_unique<Ui::TfrmAbout>())
{
    ui->setupUi(this);
    setUpTextBoxes();
    setCloseButton(ui->Button1);
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmAbout::Button1Click);
    ui->Button1->setFocus();
}

TfrmAbout::~TfrmAbout() = default;

// The text boxes have no border and paint no background of their own: the
// window's button-face colour shows through, so they read as plain text on it.
void TfrmAbout::setUpTextBoxes()
{
    for (QTextEdit *memo : {ui->Memo1, ui->Memo2, ui->Memo3}) {
        memo->viewport()->setAutoFillBackground(false);
        memo->document()->setDocumentMargin(textMargin);
        setLinePitch(memo);
    }
}

void TfrmAbout::Button1Click()
{
    reject();
}
