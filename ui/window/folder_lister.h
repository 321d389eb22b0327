#pragma once
// Lists folders on a worker thread so that selecting a large folder never holds the window
// still. Only the newest request counts: a listing that a later one has superseded is dropped
// when it ends, so a stale folder never replaces a newer one.

#include <atomic>
#include <functional>
#include <string>

#include <QObject>
#include <QThreadPool>

#include "engine/engine.h"

class TFolderLister : public QObject {
    Q_OBJECT
public:
    using TDeliver = std::function<void(engine::TFolderListing&& listing)>;

    // `deliver` gets each listing that is still the newest when it ends, on this object's thread.
    explicit TFolderLister(TDeliver deliver, QObject* parent = nullptr);
    // Waits for the listings still running; none is delivered any more.
    ~TFolderLister() override;

    // Lists `path` when it is a folder's path (absolute); any other text changes nothing and
    // leaves a listing in progress running.
    void list(const std::string& path, const engine::TFormatSettings& settings);
    bool isListing() const { return m_listing; }
    // Some listing, superseded ones included, is still reading.
    bool isReading() const { return m_pool.activeThreadCount() > 0; }
    // How many listings have begun to read the disk (a request superseded before it began
    // never reads).
    int readsBegun() const { return m_readsBegun; }

private:
    void delivered(unsigned request, engine::TFolderListing&& listing);

    TDeliver m_deliver;
    std::atomic<unsigned> m_newest = 0; // read by the workers to skip superseded requests
    std::atomic<int> m_readsBegun = 0;
    bool m_listing = false;
    QThreadPool m_pool;
};
