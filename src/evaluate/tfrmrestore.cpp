// SPDX-License-Identifier: GPL-3.0-or-later
#include "tfrmrestore.h"
#include "ui_tfrmrestore.h"

#include "widgets/filedialogs.h"

#include <QHeaderView>

namespace {

constexpr int pathRole = Qt::UserRole;
const QString timeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace

QString backupSizeText(qint64 bytes)
{
    constexpr qint64 kilobyte = 1024;
    constexpr qint64 megabyte = 1024 * kilobyte;
    if (const qint64 kilobytes = (bytes + kilobyte - 1) / kilobyte; kilobytes < 1024)
        return QStringLiteral("%1 KB").arg(kilobytes);
    return QStringLiteral("%1 MB").arg(double(bytes) / double(megabyte), 0, 'f', 1);
}

QString backupAnswersText(int answers)
{
    return answers < 0 ? QStringLiteral("无法读取") : QString::number(answers);
}

TfrmRestore::TfrmRestore(const QList<BackupSummary> &backups, const QString &folder, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TfrmRestore>()),
      m_folder(folder)
{
    ui->setupUi(this);
    fillBackupList(backups);
    connect(ui->btnRestore, &QPushButton::clicked, this, &TfrmRestore::btnRestoreClick);
    connect(ui->btnFromFile, &QPushButton::clicked, this, &TfrmRestore::btnFromFileClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->lvBackups, &QTreeWidget::itemActivated, this, &TfrmRestore::btnRestoreClick);
}

TfrmRestore::~TfrmRestore() = default;

void TfrmRestore::fillBackupList(const QList<BackupSummary> &backups)
{
    for (const BackupSummary &backup : backups) {
        auto *item = new QTreeWidgetItem(
            ui->lvBackups,
            {backup.time.toString(timeFormat), backupAnswersText(backup.answers), backupSizeText(backup.bytes)});
        item->setData(0, pathRole, backup.path);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    ui->lvBackups->header()->setSectionResizeMode(QHeaderView::Stretch);
    ui->lvBackups->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    ui->lvBackups->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    if (backups.isEmpty()) {
        ui->lblBackups->setText(QStringLiteral("这个训练记录还没有备份。可以从其他位置的文件恢复："));
        ui->btnRestore->setEnabled(false);
        ui->btnFromFile->setFocus();
        return;
    }
    ui->lvBackups->setCurrentItem(ui->lvBackups->topLevelItem(0));
    ui->lvBackups->setFocus();
}

void TfrmRestore::btnRestoreClick()
{
    if (const QTreeWidgetItem *item = ui->lvBackups->currentItem()) {
        m_chosenFile = item->data(0, pathRole).toString();
        accept();
    }
}

void TfrmRestore::btnFromFileClick()
{
    const QString file = FileDialogs::openFile(this, QStringLiteral("从文件恢复"), m_folder,
                                               QStringLiteral("训练记录 (*.mdb);;所有文件 (*)"));
    if (file.isEmpty())
        return;
    m_chosenFile = file;
    accept();
}
