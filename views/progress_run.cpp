// The worker runs the work alone; the GUI thread only polls its share and passes on a cancel,
// through atomics, so nothing else is shared while it runs.
#include "views/progress_run.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <memory>

#include "views/dialog_seam.h"

namespace morvane {

bool RunWithProgress(QWidget* parent, const ProgressWork& work) {
    // The modal dialog stops clicks, but not a second run started by code meanwhile.
    static bool running = false;
    if (running)
        return false;
    running = true;
    struct Done {
        ~Done() { running = false; }
    } done;

    std::atomic<double> share{0.0};
    std::atomic<bool> stop{false};
    const std::unique_ptr<CProgress> progress = Dialogs().progress(parent);
    const auto report = [&](double value) {
        share.store(value, std::memory_order_relaxed);
        return !stop.load(std::memory_order_relaxed);
    };

    QFutureWatcher<bool> watcher; // its signal wakes the loop below when the work ends
    watcher.setFuture(QtConcurrent::run([&work, &report] { return work(report); }));
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        progress->setShare(share.load(std::memory_order_relaxed));
        if (progress->canceled())
            stop.store(true, std::memory_order_relaxed);
    });
    poll.start();
    // Until the dialog is up, input waits: a click must not reach a view (the glossary's
    // Save above all) while the worker reads the glossary.
    do {
        QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
        if (!progress->shown())
            flags |= QEventLoop::ExcludeUserInputEvents;
        QCoreApplication::processEvents(flags);
    } while (!watcher.isFinished());
    poll.stop();
    watcher.waitForFinished();

    // A cancel seen after the work ended still counts: the person saw it as running.
    if (stop.load() || progress->canceled())
        return false;
    if (!watcher.result())
        return false;
    progress->setShare(1.0);
    return true;
}

} // namespace morvane
