#include "ui/window/folder_lister.h"

#include <memory>
#include <utility>

TFolderLister::TFolderLister(TDeliver deliver, QObject* parent)
    : QObject(parent), m_deliver(std::move(deliver)) {
    m_pool.setMaxThreadCount(2); // a superseded listing may still be reading
}

TFolderLister::~TFolderLister() {
    ++m_newest;
    m_pool.clear();
    m_pool.waitForDone();
}

void TFolderLister::list(const std::string& path, const engine::TFormatSettings& settings) {
    if (!engine::NamesFolderOnDisk(path)) return; // a virtual item keeps the list as it was
    const unsigned request = ++m_newest;
    m_listing = true;
    m_pool.start([this, request, path, settings] {
        if (request != m_newest) return; // superseded before it began
        ++m_readsBegun;
        auto listing = std::make_shared<engine::TFolderListing>();
        engine::ListFolder(*listing, path, settings);
        // Queued to this object's thread; the destructor waits for this task first.
        QMetaObject::invokeMethod(
            this, [this, request, listing] { delivered(request, std::move(*listing)); },
            Qt::QueuedConnection);
    });
}

void TFolderLister::delivered(unsigned request, engine::TFolderListing&& listing) {
    if (request != m_newest) return;
    m_listing = false;
    m_deliver(std::move(listing));
}
