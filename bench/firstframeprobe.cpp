// SPDX-License-Identifier: GPL-3.0-or-later
// Loaded into a program with LD_PRELOAD by bench_startup: when the program's
// first window has been exposed and painted, prints one line to standard output,
//   <monotonic clock in ms> <peak resident memory in kB> <resident memory in kB> <CPU time in µs>
// and ends the program at once, so that nothing after the first frame is
// counted (bench_startup --instructions runs it under callgrind). The program itself is not changed, so the same probe
// measures any build of it.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFile>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// A "Vm...:  1234 kB" line of /proc/self/status, in kB; 0 where there is none.
qint64 statusKilobytes(const QByteArray &status, const QByteArray &field)
{
    const qsizetype start = status.indexOf(field + ':');
    if (start < 0)
        return 0;
    const qsizetype end = status.indexOf('\n', start);
    return status.mid(start + field.size() + 1, end - start - field.size() - 1)
        .trimmed()
        .split(' ')
        .value(0)
        .toLongLong();
}

// CPU time the whole process has used, which other load on the machine hardly
// changes, unlike the time on the clock.
qint64 processCpuMicroseconds()
{
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return qint64(cpu.tv_sec) * 1000000 + cpu.tv_nsec / 1000;
}

void reportFirstFrame()
{
    const qint64 now = QDeadlineTimer::current(Qt::PreciseTimer).deadline();
    const qint64 cpu = processCpuMicroseconds();
    QFile file(QStringLiteral("/proc/self/status"));
    const QByteArray status = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    std::printf("%lld %lld %lld %lld\n", static_cast<long long>(now),
                static_cast<long long>(statusKilobytes(status, "VmHWM")),
                static_cast<long long>(statusKilobytes(status, "VmRSS")), static_cast<long long>(cpu));
    std::fflush(stdout);
    std::_Exit(0);
}

class FirstFrameProbe final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Expose && watched->isWindowType()
            && static_cast<QWindow *>(watched)->isExposed()) {
            m_seen = true;
            // Queued: the window paints its first frame while handling this event.
            QMetaObject::invokeMethod(qApp, &reportFirstFrame, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_seen = false;
};

void installProbe()
{
    qApp->installEventFilter(new FirstFrameProbe);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
