// Rebuilding one branch of the folder tree from the disk, and finding loaded nodes by id.

#include "ui/tree/shell_tree_view.h"

#include <optional>

#include <QApplication>
#include <QScopeGuard>

namespace {

TItemIdList FullIdOf(const TShellFolder& entry) {
    const TItemIdList parentId = entry.ParentEntry ? entry.ParentEntry->FullItemId : TItemIdList{};
    return ConcatItemIds(parentId, entry.ItemId);
}

std::optional<TItemIdList> FullIdOf(const TShellFolder* entry) {
    return entry ? std::optional(FullIdOf(*entry)) : std::nullopt;
}

bool IsInBranch(const QTreeWidgetItem* node, const QTreeWidgetItem* branch) {
    for (; node; node = node->parent())
        if (node == branch) return true;
    return false;
}

} // namespace

QTreeWidgetItem* TShellTreeView::refreshBranch(QTreeWidgetItem* node) {
    const TShellFolder* entry = entryOf(node);
    if (!entry || !entry->FolderObject) return nullptr;
    const std::optional<TItemIdList> topId = FullIdOf(entryOf(itemAt(0, 0)));
    const std::optional<TItemIdList> selectedId = FullIdOf(selectedEntry());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setUpdatesEnabled(false);
    const auto restore = qScopeGuard([this] {
        setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    });
    QTreeWidgetItem* rebuilt = insertRebuiltNode(node);
    expandLike(node, rebuilt);
    removeOldBranch(node);
    if (selectedId)
        if (QTreeWidgetItem* found = findLoadedNode(*selectedId, topLevelItem(0)))
            setCurrentItem(found);
    if (topId)
        if (QTreeWidgetItem* found = findLoadedNode(*topId, topLevelItem(0)))
            scrollToItem(found, QAbstractItemView::PositionAtTop);
    return rebuilt;
}

QTreeWidgetItem* TShellTreeView::findLoadedNode(const TItemIdList& fullId,
                                                QTreeWidgetItem* start) const {
    if (!start) return nullptr;
    const TShellFolder* entry = entryOf(start);
    if (entry && DesktopEntry().FolderObject->compareIds(fullId, entry->FullItemId) == 0)
        return start;
    for (int i = 0; i < start->childCount(); ++i)
        if (QTreeWidgetItem* found = findLoadedNode(fullId, start->child(i))) return found;
    return nullptr;
}

// A new node for the item of `old`, just before it, with its children freshly enumerated.
QTreeWidgetItem* TShellTreeView::insertRebuiltNode(QTreeWidgetItem* old) {
    const TShellFolder& oldEntry = *entryOf(old);
    QTreeWidgetItem* parent = old->parent();
    const TShellFolder* parentEntry = parent ? entryOf(parent) : nullptr;
    auto entry = std::make_unique<TShellFolder>();
    entry->ParentEntry = parentEntry ? parentEntry : &DesktopEntry();
    entry->ItemId = oldEntry.ItemId;
    entry->FullItemId = ConcatItemIds(entry->ParentEntry->FullItemId, entry->ItemId);
    entry->FolderObject = oldEntry.FolderObject;
    QTreeWidgetItem* rebuilt =
        makeNode(std::move(entry), parent ? TNameForm::InFolder : TNameForm::Normal).release();
    if (parent)
        parent->insertChild(parent->indexOfChild(old), rebuilt);
    else
        insertTopLevelItem(indexOfTopLevelItem(old), rebuilt);
    loadChildren(rebuilt);
    // The item's sub-folder mark may predate the change that made this refresh necessary.
    rebuilt->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return rebuilt;
}

// Depth first, so that each expansion finds its parent's children already loaded.
void TShellTreeView::expandLike(QTreeWidgetItem* old, QTreeWidgetItem* rebuilt) {
    if (const TShellFolder* entry = entryOf(old); entry && old->isExpanded())
        if (QTreeWidgetItem* found = findLoadedNode(FullIdOf(*entry), rebuilt))
            found->setExpanded(true);
    for (int i = 0; i < old->childCount(); ++i)
        expandLike(old->child(i), rebuilt);
}

// The entry goes first, so that change events raised while the node goes see no path; a
// selection inside the branch is dropped first, so that re-selecting by id always raises one.
void TShellTreeView::removeOldBranch(QTreeWidgetItem* old) {
    const std::unique_ptr<TShellFolder> entry = detachEntry(old);
    if (IsInBranch(currentItem(), old)) setCurrentItem(nullptr);
    deleteNode(old);
}

// The node leaves the tree while it is still whole, so that what the change event asks of it
// is answered by a node, not by the remains of one being destroyed.
void TShellTreeView::deleteNode(QTreeWidgetItem* node) {
    if (QTreeWidgetItem* parent = node->parent())
        parent->removeChild(node);
    else
        takeTopLevelItem(indexOfTopLevelItem(node));
    delete node;
}
