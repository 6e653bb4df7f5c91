// SPDX-License-Identifier: GPL-3.0-or-later
// Times the answer box's 16-byte limit on long texts: the check by itself on a
// 1 MB text, and a paste into a real line edit, from the key press until the cut
// text is painted. Goals: under 5 ms for the check, under 100 ms for the paste.

#include "benchhistory.h"

#include "training/gbk.h"
#include "ui/gbkbytelimitvalidator.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextStream>

namespace {

constexpr int byteLimit = 16;

// Chinese text mixed with ASCII, a trail byte below 0x81, characters outside the
// code page, invisible characters and surrogate pairs, cut to `units` code units.
QString mixedText(qsizetype units)
{
    const QString pattern = QStringLiteral("桌子abc丂€😀\u200b中文\u202e一二三四五六七八九十ＡＢＣ");
    QString text;
    text.reserve(units + pattern.size());
    while (text.size() < units)
        text += pattern;
    text.truncate(units);
    if (text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

double elapsedMicroseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1000.0;
}

// The check alone: `before` pasted in front of the cursor, `after` behind it.
QList<double> timeValidator(const QString &before, const QString &after, int runs, QTextStream &out)
{
    const GbkByteLimitValidator validator(byteLimit);
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QString input = before + after;
        int pos = int(before.size());
        QElapsedTimer timer;
        timer.start();
        const QValidator::State state = validator.validate(input, pos);
        times.append(elapsedMicroseconds(timer));
        if (state != QValidator::Acceptable || gbkLength(input) > byteLimit || !input.endsWith(after))
            out << "unexpected cut: " << input << Qt::endl;
    }
    return times;
}

QList<double> timeGbkLength(const QString &text, int runs)
{
    QList<double> times;
    qsizetype total = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        total += gbkLength(text);
        times.append(elapsedMicroseconds(timer));
    }
    Q_UNUSED(total);
    return times;
}

// Ctrl+V into the box, the way a user pastes, until the box has painted the result.
QList<double> timePaste(QLineEdit &box, const QString &clipboardText, int runs, QTextStream &out)
{
    QGuiApplication::clipboard()->setText(clipboardText);
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        box.clear();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
        QApplication::sendEvent(&box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
        QApplication::sendEvent(&box, &release);
        QCoreApplication::processEvents();
        box.repaint();
        times.append(elapsedMicroseconds(timer));
        if (box.text().isEmpty() || gbkLength(box.text()) > byteLimit)
            out << "unexpected box text: " << box.text() << Qt::endl;
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    const QString megabyte = mixedText(1 << 20);
    const QString tail = QStringLiteral("字字字");
    out << "text: " << megabyte.size() << " UTF-16 code units, " << gbkLength(megabyte) << " GBK bytes" << Qt::endl;

    out << describeTimings(QStringLiteral("check, 1 MB pasted at the end"), timeValidator(megabyte, {}, 200, out))
        << Qt::endl;
    out << describeTimings(QStringLiteral("check, 1 MB pasted before 6 bytes"), timeValidator(megabyte, tail, 200, out))
        << Qt::endl;
    out << describeTimings(QStringLiteral("gbkLength of 1 MB (full scan)"), timeGbkLength(megabyte, 200)) << Qt::endl;

    QLineEdit box;
    box.setValidator(new GbkByteLimitValidator(byteLimit, &box));
    box.resize(289, 22);
    box.show();
    QCoreApplication::processEvents();
    out << "box cuts pastes to " << box.maxLength() << " characters" << Qt::endl;
    out << describeTimings(QStringLiteral("paste of 100,000 characters"), timePaste(box, mixedText(100000), 50, out))
        << Qt::endl;
    out << describeTimings(QStringLiteral("paste of 1 MB"), timePaste(box, megabyte, 50, out)) << Qt::endl;
    return 0;
}
