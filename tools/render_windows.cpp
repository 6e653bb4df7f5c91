// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the windows of Zorvel into PNG files, in a throw-away home folder:
// the main window as it opens, the main window in the middle of a session, the
// evaluation window on that session's history and the About window.

#include "temporaryhome.h"
#include "testablemainwindow.h"

#include "app/application.h"
#include "evaluate/tfrmevaluate.h"
#include "evaluate/tfrmrestore.h"
#include "ui/tfrmabout.h"
#include "widgets/messageboxes.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <cstdio>

namespace {

void save(QWidget &window, const QString &folder, const QString &name)
{
    const QString path = folder + QLatin1Char('/') + name;
    if (!window.grab().save(path))
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

void answer(TfrmMain &window, FakeClock &clock, const QString &text, int secondsLater = 4)
{
    clock.advance(secondsLater);
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("edAnswer"));
    box->setText(text);
    QTest::keyClick(box, Qt::Key_Return);
}

void startQuestion(TfrmMain &window)
{
    MessageBoxes::scriptAnswers({QMessageBox::Yes});
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("lblNewQuestion")), Qt::LeftButton);
}

} // namespace

int main(int argc, char *argv[])
{
    TemporaryHome home;
    QApplication app(argc, argv);
    configureApplication(app);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    TestableMainWindow session(2026);
    TfrmMain &window = session.window;
    FakeClock &clock = session.clock;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "the main window was not shown\n");
    save(window, folder, QStringLiteral("main-window.png"));

    // Every kind of record line: accepted, not Chinese, repeated, persistent, too fast.
    startQuestion(window);
    for (const char *text : {"桌子", "abc", "桌子", "桌子", "椅子"})
        answer(window, clock, QString::fromUtf8(text));
    answer(window, clock, QStringLiteral("书架"), 1);
    startQuestion(window);
    for (const char *text : {"电灯", "手电筒", "蜡烛", "电灯", "台灯", "火把", "萤火虫", "hello"})
        answer(window, clock, QString::fromUtf8(text));
    window.StartFlash(FlashColor::Lime);
    save(window, folder, QStringLiteral("main-window-session.png"));

    // The score bar in its three bands, side by side.
    window.timerFlashTimer();
    const QList<int> scores{45, 70, 90};
    QImage strip(window.width() * scores.size(), window.height(), QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int i = 0; i < scores.size(); ++i) {
        window.ShowScore(scores[i]);
        painter.drawPixmap(i * window.width(), 0, window.grab());
    }
    painter.end();
    const QString scoresPath = folder + QStringLiteral("/main-window-scores.png");
    strip.save(scoresPath);
    std::printf("%s\n", qPrintable(scoresPath));

    // A few more answered questions give the indices some height.
    for (const char *text : {"书", "笔", "纸", "书", "电灯", "墨水"}) {
        startQuestion(window);
        answer(window, clock, QString::fromUtf8(text));
        answer(window, clock, QStringLiteral("笔记本"));
    }
    TfrmEvaluate evaluate(session.database, &session.historyActions);
    evaluate.show();
    save(evaluate, folder, QStringLiteral("evaluate-window.png"));
    // The restore's choice, with two backups of that history.
    session.historyActions.backUp();
    startQuestion(window);
    answer(window, clock, QStringLiteral("台灯"));
    session.historyActions.backUp();
    TfrmRestore restore(session.historyActions.backups(), session.historyActions.backupsFolder());
    restore.show();
    save(restore, folder, QStringLiteral("restore-window.png"));
    TfrmAbout about;
    about.show();
    save(about, folder, QStringLiteral("about-window.png"));
    return 0;
}
