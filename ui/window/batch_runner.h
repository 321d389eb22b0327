#pragma once
// Runs a batch (ApplyRenames, or an undo) on a thread of its own, so the window keeps answering
// while a large folder is renamed: progress comes back at most once per frame, and a stop lands
// between two rows.

#include <atomic>
#include <cstddef>
#include <functional>
#include <stop_token>
#include <thread>

#include <QObject>
#include <QString>
#include <QTimer>

#include "engine/engine.h"

class TBatchRunner : public QObject {
    Q_OBJECT
public:
    // The work of a batch, run on the runner's thread with a control whose Progress and Stop
    // are the runner's own; what it throws ends the batch with its message as the error.
    using TWork = std::function<void(const engine::TBatchControl& control)>;
    // Runs on the batch's thread after each row's progress, before the next stop check.
    using TRowHook = std::function<void(std::size_t done, const std::stop_token& stop)>;

    explicit TBatchRunner(QObject* parent = nullptr);
    // Stops a running batch between two rows and waits for it.
    ~TBatchRunner() override;

    // Starts renaming `listing`, which must stay as it is until finished(); the rows up to the
    // last count progressed() gave may be read meanwhile. `control` may carry more of the
    // batch's settings; its Progress and Stop are the runner's own.
    void start(engine::TFolderListing& listing, engine::TRenameSettings settings,
               engine::TBatchControl control = {});
    // Starts `work` on `total` rows (0: known from its first progress). `control` as for
    // start().
    void run(TWork work, engine::TBatchControl control = {}, std::size_t total = 0);
    // Asks the batch to stop before its next row; finished() follows.
    void cancel();
    // Stops the batch and waits for it: finished() has been emitted when this returns.
    void stopAndWait();
    bool isRunning() const { return m_running; }
    // Lets a test hold a batch at a row of its choice; set it before start() or run().
    void setRowHook(TRowHook hook) { m_rowHook = std::move(hook); }

signals:
    void progressed(std::size_t done, std::size_t total);
    // `error` is empty unless the batch stopped on an error before its first rename.
    void finished(std::size_t done, const QString& error);

private:
    void reportProgress();
    void threadDone(unsigned batch, const QString& error);

    std::jthread m_thread;
    // Written by the batch's thread after each row.
    std::atomic<std::size_t> m_done = 0;
    std::atomic<std::size_t> m_total = 0;
    std::size_t m_reported = 0;
    TRowHook m_rowHook;
    bool m_running = false;
    unsigned m_batch = 0; // which start() a finishing thread belongs to
    QTimer m_frame;
};
