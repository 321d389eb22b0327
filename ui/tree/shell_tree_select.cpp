// Selecting a folder by its path: the branch down to it is expanded, loading as it goes.

#include "ui/tree/shell_tree_view.h"

namespace {

bool SameItem(const TItemIdList& a, const TItemIdList& b) {
    return DesktopEntry().FolderObject->compareIds(a, b) == 0;
}

TItemIdList FirstSteps(const TItemIdList& id, std::size_t count) {
    return TItemIdList(id.begin(), id.begin() + static_cast<std::ptrdiff_t>(count));
}

QTreeWidgetItem* ChildWithId(const QTreeWidgetItem* node, const TItemIdList& fullId) {
    for (int i = 0; i < node->childCount(); ++i) {
        const TShellFolder* entry = TShellTreeView::entryOf(node->child(i));
        if (entry && SameItem(entry->FullItemId, fullId)) return node->child(i);
    }
    return nullptr;
}

} // namespace

bool TShellTreeView::selectPath(const std::string& path) {
    const std::optional<TItemIdList> fullId = ShellNamespace().parseDisplayName(path);
    QTreeWidgetItem* node = fullId ? expandBranchTo(*fullId) : nullptr;
    if (!node) return false;
    setCurrentItem(node);
    scrollToItem(node);
    return true;
}

QTreeWidgetItem* TShellTreeView::expandBranchTo(const TItemIdList& fullId) {
    QTreeWidgetItem* node = topLevelItem(0);
    const TShellFolder* top = entryOf(node);
    if (!top || top->FullItemId.size() > fullId.size() ||
        !SameItem(FirstSteps(fullId, top->FullItemId.size()), top->FullItemId))
        return nullptr;
    for (std::size_t depth = top->FullItemId.size() + 1; node && depth <= fullId.size(); ++depth) {
        node->setExpanded(true);
        node = ChildWithId(node, FirstSteps(fullId, depth));
    }
    return node;
}
