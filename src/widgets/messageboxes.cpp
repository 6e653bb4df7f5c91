// SPDX-License-Identifier: GPL-3.0-or-later
#include "messageboxes.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QList>

namespace {

struct Script
{
    bool active = false;
    QList<QMessageBox::StandardButton> answers;
    QStringList shown;
};

Script &script()
{
    static Script instance;
    return instance;
}

} // namespace

bool MessageBoxes::confirmNewQuestion(QWidget *parent)
{
    return ask(parent, QMessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("是否要开始新问题？"),
               QMessageBox::Yes)
        == QMessageBox::Yes;
}

bool MessageBoxes::confirmClearAll(QWidget *parent)
{
    return ask(parent, QMessageBox::Warning, QStringLiteral("Warning"),
               QStringLiteral("清空将会删除以前所有的问题及回答记录。是否要继续？"), QMessageBox::Yes)
        == QMessageBox::Yes;
}

bool MessageBoxes::confirmRestore(QWidget *parent, const QString &text)
{
    return ask(parent, QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::Yes) == QMessageBox::Yes;
}

void MessageBoxes::showError(QWidget *parent, const QString &text)
{
    if (script().active) {
        script().shown.append(text);
        return;
    }
    QMessageBox::critical(parent, QStringLiteral("Zorvel"), text);
}

void MessageBoxes::showNotice(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    if (script().active) {
        script().shown.append(text);
        return;
    }
    QMessageBox box(icon, QStringLiteral("Zorvel"), text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton MessageBoxes::ask(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                              const QString &text, QMessageBox::StandardButton defaultButton)
{
    if (script().active) {
        script().shown.append(text);
        return script().answers.isEmpty() ? QMessageBox::Cancel : script().answers.takeFirst();
    }
    QMessageBox box(icon, title, text, QMessageBox::Yes | QMessageBox::Cancel, parent);
    // "&Yes" and "Cancel" as Qt's own texts, in the language of Qt's loaded
    // translation (是 and 取消 under Chinese), whatever the platform theme says.
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("QPlatformTheme", "&Yes"));
    box.button(QMessageBox::Cancel)->setText(QCoreApplication::translate("QPlatformTheme", "Cancel"));
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(QMessageBox::Cancel);
    return QMessageBox::StandardButton(box.exec());
}

void MessageBoxes::scriptAnswers(const QList<QMessageBox::StandardButton> &answers)
{
    script().active = true;
    script().answers = answers;
}

QStringList MessageBoxes::shownTexts()
{
    return script().shown;
}

void MessageBoxes::clearShownTexts()
{
    script().shown.clear();
}
