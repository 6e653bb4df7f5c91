// Time from process start to the main window's first frame on screen: Zorvel on a
// first start (it creates and seeds its database), on a later start, and a bare
// Qt window of the same size for comparison.
//
// Run without arguments; it starts itself as a child process for every sample.
// Needs a display (for example under xvfb-run) or QT_QPA_PLATFORM=offscreen.

#include "app/application.h"
#include "store/database.h"
#include "training/monotonicclock.h"
#include "training/randomsource.h"
#include "training/trainingengine.h"
#include "ui/tfrmmain.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int samples = 21;

// Milliseconds on the system's monotonic clock, which all processes share.
qint64 monotonicMs()
{
    return QDeadlineTimer::current(Qt::PreciseTimer).deadline();
}

// What the program puts together before its window, as it does it.
struct Program
{
    Database database;
    MonotonicClock clock;
    RandomSource random;
    TrainingEngine engine{database, clock, random};
};

// Reports the moment of the first expose and ends the process.
class FirstFrameWatcher final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose || event->type() == QEvent::Paint) {
            QTextStream(stdout) << monotonicMs() << '\n';
            QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

int runChild(int argc, char *argv[], const QString &kind)
{
    QApplication app(argc, argv);
    FirstFrameWatcher watcher;
    std::unique_ptr<Program> program;
    std::unique_ptr<QWidget> window;
    if (kind.startsWith(QStringLiteral("bare"))) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(362, 474);
        if (kind == QStringLiteral("bare-text")) {
            // Any text pays for the font database and the CJK face once.
            auto *label = new QLabel(QStringLiteral("回答记录："), window.get());
            label->move(16, 16);
        }
    } else {
        configureApplication(app);
        program = std::make_unique<Program>();
        window = std::make_unique<TfrmMain>(program->engine, program->database);
    }
    window->installEventFilter(&watcher);
    window->show();
    return app.exec();
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// One sample: the child's first frame, in milliseconds after it was started.
double measure(const QString &program, const QString &kind, const QString &home)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    child.setProcessEnvironment(environment);
    const qint64 started = monotonicMs();
    child.start(program, {QStringLiteral("--child"), kind});
    child.waitForFinished(20000);
    return double(child.readAllStandardOutput().trimmed().toLongLong() - started);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return runChild(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    const QString program = QCoreApplication::applicationFilePath();
    QTemporaryDir laterHome;
    measure(program, QStringLiteral("later"), laterHome.path()); // creates the file once

    QList<double> bare, bareText, first, later;
    for (int i = 0; i < samples; ++i) {
        QTemporaryDir firstHome;
        bare.append(measure(program, QStringLiteral("bare"), laterHome.path()));
        bareText.append(measure(program, QStringLiteral("bare-text"), laterHome.path()));
        first.append(measure(program, QStringLiteral("first"), firstHome.path()));
        later.append(measure(program, QStringLiteral("later"), laterHome.path()));
    }
    QTextStream out(stdout);
    out << "median of " << samples << " starts, process start to first frame:\n";
    out << "  bare Qt window 362x474: " << median(bare) << " ms\n";
    out << "  the same with one Chinese label: " << median(bareText) << " ms\n";
    out << "  Zorvel, later start:    " << median(later) << " ms (" << median(later) / median(bare) << " x bare)\n";
    out << "  Zorvel, first start:    " << median(first) << " ms (+" << median(first) - median(later)
        << " ms over a later start)\n";
    out << "  Zorvel, later start vs the window with a label: " << median(later) / median(bareText) << " x\n";
    return 0;
}
