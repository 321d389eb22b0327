#include "ui/window/batch_runner.h"

#include <exception>
#include <utility>

namespace {

constexpr int FrameMilliseconds = 16;

} // namespace

TBatchRunner::TBatchRunner(QObject* parent) : QObject(parent) {
    m_frame.setInterval(FrameMilliseconds);
    connect(&m_frame, &QTimer::timeout, this, &TBatchRunner::reportProgress);
}

TBatchRunner::~TBatchRunner() {
    m_thread.request_stop();
    if (m_thread.joinable()) m_thread.join();
}

void TBatchRunner::start(engine::TFolderListing& listing, engine::TRenameSettings settings,
                         engine::TBatchControl control) {
    run(
        [&listing, settings = std::move(settings)](const engine::TBatchControl& control) {
            engine::ApplyRenames(listing, settings, control);
        },
        std::move(control), listing.Rows.size());
}

void TBatchRunner::run(TWork work, engine::TBatchControl control, std::size_t total) {
    Q_ASSERT(!m_running);
    m_done.store(0);
    m_total.store(total);
    m_reported = 0;
    m_running = true;
    const unsigned batch = ++m_batch;
    m_thread = std::jthread([this, batch, work = std::move(work), control = std::move(control),
                             hook = m_rowHook](std::stop_token stop) mutable {
        control.Progress = [this, &hook, &stop](std::size_t done, std::size_t rows) {
            m_total.store(rows, std::memory_order_relaxed);
            m_done.store(done, std::memory_order_release);
            if (hook) hook(done, stop);
        };
        control.Stop = stop;
        QString error;
        try {
            work(control);
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        }
        // Queued to the window's thread; the destructor joins this thread first, so `this`
        // outlives the call.
        QMetaObject::invokeMethod(
            this, [this, batch, error] { threadDone(batch, error); }, Qt::QueuedConnection);
    });
    m_frame.start();
}

void TBatchRunner::cancel() {
    m_thread.request_stop();
}

void TBatchRunner::stopAndWait() {
    if (!m_running) return;
    m_thread.request_stop();
    m_thread.join();
    threadDone(m_batch, {}); // the queued call then finds its batch over and does nothing
}

void TBatchRunner::reportProgress() {
    const std::size_t done = m_done.load(std::memory_order_acquire);
    if (done == m_reported) return;
    m_reported = done;
    emit progressed(done, m_total.load(std::memory_order_relaxed));
}

void TBatchRunner::threadDone(unsigned batch, const QString& error) {
    if (!m_running || batch != m_batch) return;
    if (m_thread.joinable()) m_thread.join();
    m_frame.stop();
    reportProgress();
    m_running = false;
    emit finished(m_reported, error);
}
