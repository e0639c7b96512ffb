#include "design_run.h"

#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>

#include "DesignProgressForm.h"
#include "errors.h"
#include "method_check.h"

namespace {

// How often the progress window shows the search's latest figures.
constexpr int ProgressMilliseconds = 100;

// What the search thread and the window share.
struct SharedProgress {
    std::mutex lock;
    design::DesignProgress latest{std::numeric_limits<double>::infinity(), 0.0, 0.0};
    std::atomic<bool> stop{false};

    bool Report(const design::DesignProgress& progress) {
        const std::lock_guard<std::mutex> guard(lock);
        latest = progress;
        return !stop.load();
    }
    design::DesignProgress Latest() {
        const std::lock_guard<std::mutex> guard(lock);
        return latest;
    }
};

// The search itself, in the worker thread.
void Search(DesignOutcome& outcome, SharedProgress& shared) {
    try {
        outcome.CurrentCheck = design::CheckWithMethod(outcome.Network, outcome.Options.Survive);
    } catch (const net::NetError& error) {
        outcome.CurrentCheckError = QString::fromStdString(error.what());
    }
    design::NetworkDesign search(outcome.Network);
    search.keepPresent(outcome.Options.Keep)
        .survive(outcome.Options.Survive)
        .maxUtilisation(outcome.Options.Utilisation)
        .timeLimit(outcome.Options.Seconds)
        .progress(
            [&shared](const design::DesignProgress& progress) { return shared.Report(progress); });
    outcome.Status = search.run();
    outcome.Result = search.result();
}

}  // namespace

DesignOutcome RunDesignSearch(QWidget* parent, const net::TNetObj& net,
                              const DesignOptions& options) {
    DesignOutcome outcome;
    outcome.Options = options;
    outcome.Network = net;
    outcome.CurrentCost = net::NetworkCost(net);
    SharedProgress shared;
    std::exception_ptr error;

    TDesignProgressForm window(options.Seconds, parent);
    QObject::connect(&window, &TDesignProgressForm::StopRequested, &window,
                     [&shared] { shared.stop = true; });
    QTimer timer;
    timer.setInterval(ProgressMilliseconds);
    QObject::connect(&timer, &QTimer::timeout, &window,
                     [&window, &shared] { window.ShowProgress(shared.Latest()); });

    const std::unique_ptr<QThread> worker(QThread::create([&outcome, &shared, &error] {
        try {
            Search(outcome, shared);
        } catch (...) {
            error = std::current_exception();
        }
    }));
    // Delivered through the window's event loop, so never before it runs.
    QObject::connect(worker.get(), &QThread::finished, &window, &TDesignProgressForm::Finish,
                     Qt::QueuedConnection);
    worker->start();
    timer.start();
    window.exec();
    // Only the end of the search closes the window; should anything else,
    // the search is stopped rather than waited for to its time limit.
    shared.stop = true;
    worker->wait();
    timer.stop();
    if (error)
        std::rethrow_exception(error);
    return outcome;
}
