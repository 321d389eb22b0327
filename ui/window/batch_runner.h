#pragma once
// Runs ApplyRenames on a thread of its own, so the window keeps answering while a large folder
// is renamed: progress comes back at most once per frame, and a stop lands between two rows.

#include <atomic>
#include <cstddef>
#include <thread>

#include <QObject>
#include <QString>
#include <QTimer>

#include "engine/engine.h"

class TBatchRunner : public QObject {
    Q_OBJECT
public:
    explicit TBatchRunner(QObject* parent = nullptr);
    // Stops a running batch between two rows and waits for it.
    ~TBatchRunner() override;

    // Parses what ApplyRenames parses before its first rename, in the same order, so a bad
    // setting is reported before anything starts. Throws engine::TError. Pure.
    static void CheckSettings(const engine::TFolderListing& listing,
                              const engine::TRenameSettings& settings);

    // Starts renaming `listing`, which must stay as it is until finished(); the rows up to the
    // last count progressed() gave may be read meanwhile. `control` may carry more of the
    // batch's settings; its Progress and Stop are the runner's own.
    void start(engine::TFolderListing& listing, engine::TRenameSettings settings,
               engine::TBatchControl control = {});
    // Asks the batch to stop before its next row; finished() follows.
    void cancel();
    // Stops the batch and waits for it: finished() has been emitted when this returns.
    void stopAndWait();
    bool isRunning() const { return m_running; }

signals:
    void progressed(std::size_t done, std::size_t total);
    // `error` is empty unless the batch stopped on an error before its first rename.
    void finished(std::size_t done, const QString& error);

private:
    void reportProgress();
    void threadDone(unsigned batch, const QString& error);

    std::jthread m_thread;
    std::atomic<std::size_t> m_done = 0; // written by the batch's thread after each row
    std::size_t m_reported = 0;
    std::size_t m_total = 0;
    bool m_running = false;
    unsigned m_batch = 0; // which start() a finishing thread belongs to
    QTimer m_frame;
};
