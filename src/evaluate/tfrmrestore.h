// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "historyactions.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmRestore;
}

// The restore's choice: the history's own backups, newest first, with their
// time, answers and size, or a file from anywhere. It only chooses; the
// evaluation window confirms and restores.
class TfrmRestore : public QDialog
{
    Q_OBJECT

public:
    // `folder` is where the choice of a file from anywhere starts.
    TfrmRestore(const QList<BackupSummary> &backups, const QString &folder, QWidget *parent = nullptr);
    ~TfrmRestore() override;

    // The file chosen, once the dialog was accepted.
    QString chosenFile() const { return m_chosenFile; }

private:
    void fillBackupList(const QList<BackupSummary> &backups);
    void btnRestoreClick();
    void btnFromFileClick();

    std::unique_ptr<Ui::TfrmRestore> ui;
    QString m_folder;
    QString m_chosenFile;
};

// A backup's size as the list shows it: whole kilobytes, rounded up, below a
// megabyte ("356 KB"), megabytes with one decimal from there on ("1.2 MB").
QString backupSizeText(qint64 bytes);

// A backup's count of answers as the list shows it; "无法读取" for one that cannot be read.
QString backupAnswersText(int answers);
