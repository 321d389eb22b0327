#include "ui/tree/shell_tree_nodes.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QScopeGuard>
#include <QTreeWidget>

#include "engine/engine.h"
#include "ui/namespace/messages.h"
#include "ui/widgets/text.h"

namespace {

class TShellTreeNode : public QTreeWidgetItem {
public:
    static constexpr int NodeType = QTreeWidgetItem::UserType + 1;
    explicit TShellTreeNode(std::unique_ptr<TShellFolder> entry)
        : QTreeWidgetItem(NodeType), m_entry(std::move(entry)) {}

    std::unique_ptr<TShellFolder> m_entry;
    bool m_expandedOnce = false; // children are loaded on the first expansion only
};

TShellTreeNode* AsNode(const QTreeWidgetItem* item) {
    return item && item->type() == TShellTreeNode::NodeType
               ? static_cast<TShellTreeNode*>(const_cast<QTreeWidgetItem*>(item))
               : nullptr;
}

// One icon that shows `open` while its node is selected; shared by all nodes alike.
QIcon NodeIcon(const QIcon& normal, const QIcon& open) {
    if (open.isNull() || open.cacheKey() == normal.cacheKey()) return normal;
    static QHash<QPair<qint64, qint64>, QIcon> cache;
    const auto key = qMakePair(normal.cacheKey(), open.cacheKey());
    if (const auto found = cache.constFind(key); found != cache.constEnd()) return *found;
    QIcon icon;
    icon.addPixmap(normal.pixmap(16), QIcon::Normal);
    icon.addPixmap(open.pixmap(16), QIcon::Selected);
    return *cache.insert(key, icon);
}

// A folder's folder object, asked of its parent first and of the desktop second.
std::shared_ptr<TShellFolderObject> BindFolderObject(TShellFolderObject* parent,
                                                     const TItemIdList& id) {
    std::shared_ptr<TShellFolderObject> folder = parent ? parent->bindToObject(id) : nullptr;
    TShellFolderObject* desktop = DesktopEntry().FolderObject.get();
    if (!folder && parent != desktop) folder = desktop->bindToObject(id);
    return folder;
}

std::optional<TItemIdList> ResolveRootId(const QString& rootText) {
    if (auto id = ShellNamespace().specialFolderLocation(rootText.toStdString())) return id;
    if (rootText.isEmpty()) return std::nullopt;
    return ShellNamespace().parseDisplayName(QFile::encodeName(rootText).toStdString());
}

bool SameItem(const TItemIdList& a, const TItemIdList& b) {
    return DesktopEntry().FolderObject->compareIds(a, b) == 0;
}

TItemIdList FirstSteps(const TItemIdList& id, std::size_t count) {
    return TItemIdList(id.begin(), id.begin() + static_cast<std::ptrdiff_t>(count));
}

QTreeWidgetItem* ChildWithId(const QTreeWidgetItem* node, const TItemIdList& fullId) {
    for (int i = 0; i < node->childCount(); ++i) {
        const TShellFolder* entry = TShellTreeNodes::entryOf(node->child(i));
        if (entry && SameItem(entry->FullItemId, fullId)) return node->child(i);
    }
    return nullptr;
}

std::unique_ptr<QTreeWidgetItem> MakeNode(std::unique_ptr<TShellFolder> entry,
                                          TNameForm labelForm) {
    TShellFolderObject* parent = ParentFolderObject(*entry);
    const TItemIdList& id = entry->ItemId;
    auto node = std::make_unique<TShellTreeNode>(std::move(entry));
    // Invalid UTF-8 bytes show as U+FFFD; the bytes themselves stay in the entry's ids.
    node->setText(0, TextOf(ShellDisplayName(parent, id, labelForm)));
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    if (!parent) return node;
    node->setIcon(
        0, NodeIcon(parent->iconOf(id, TIconForm::Normal), parent->iconOf(id, TIconForm::Open)));
    const bool marked = parent->attributesOf(id, TItemAttribute::HasSubFolders) != 0;
    node->setChildIndicatorPolicy(marked ? QTreeWidgetItem::ShowIndicator
                                         : QTreeWidgetItem::DontShowIndicator);
    return node;
}

std::unique_ptr<QTreeWidgetItem> FillChildNode(const TItemIdList& id, const TShellFolder& parent) {
    auto entry = std::make_unique<TShellFolder>();
    entry->ParentEntry = &parent;
    entry->ItemId = id;
    entry->FullItemId = ConcatItemIds(parent.FullItemId, id);
    entry->FolderObject = BindFolderObject(parent.FolderObject.get(), id);
    return MakeNode(std::move(entry), TNameForm::InFolder);
}

bool ChildOrder(const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    const TShellFolder* first = TShellTreeNodes::entryOf(a);
    TShellFolderObject* folder = ParentFolderObject(*first);
    const int answer =
        folder ? folder->compareIds(first->ItemId, TShellTreeNodes::entryOf(b)->ItemId) : 0;
    return static_cast<std::int16_t>(answer & 0xFFFF) < 0;
}

} // namespace

TShellFolder* TShellTreeNodes::entryOf(const QTreeWidgetItem* node) {
    const TShellTreeNode* shellNode = AsNode(node);
    return shellNode ? shellNode->m_entry.get() : nullptr;
}

std::unique_ptr<TShellFolder> TShellTreeNodes::detachEntry(QTreeWidgetItem* node) {
    TShellTreeNode* shellNode = AsNode(node);
    return shellNode ? std::move(shellNode->m_entry) : nullptr;
}

std::unique_ptr<TShellFolder> TShellTreeNodes::resolveRoot(const QString& rootText) {
    const auto rootId = ResolveRootId(rootText);
    if (!rootId) return nullptr;
    TShellFolderObject* desktop = DesktopEntry().FolderObject.get();
    auto entry = std::make_unique<TShellFolder>();
    entry->ItemId = *rootId;
    entry->FullItemId = *rootId;
    entry->FolderObject = BindFolderObject(desktop, *rootId);
    if (!entry->FolderObject) entry->FolderObject = DesktopEntry().FolderObject;
    return entry;
}

std::unique_ptr<QTreeWidgetItem> TShellTreeNodes::makeTopNode(const TShellFolder& root) {
    auto entry = std::make_unique<TShellFolder>();
    entry->ParentEntry = &DesktopEntry();
    entry->ItemId = root.ItemId;
    entry->FullItemId = ConcatItemIds(DesktopEntry().FullItemId, entry->ItemId);
    entry->FolderObject = root.FolderObject;
    return MakeNode(std::move(entry), TNameForm::Normal);
}

void TShellTreeNodes::loadChildren(QTreeWidgetItem* node) {
    const TShellFolder* entry = entryOf(node);
    if (!entry) return;
    // A rebuild that loads many nodes has suspended updates already and resumes them itself.
    const bool updating = m_tree.updatesEnabled();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_tree.setUpdatesEnabled(false);
    const auto restore = qScopeGuard([this, updating] {
        m_tree.setUpdatesEnabled(updating);
        QApplication::restoreOverrideCursor();
    });
    TShellFolderObject* folder = entry->FolderObject.get();
    const auto ids = folder ? folder->enumFolders() : std::nullopt;
    if (!ids) return;
    std::vector<std::unique_ptr<QTreeWidgetItem>> children;
    children.reserve(ids->size());
    for (const TItemIdList& id : *ids)
        children.push_back(FillChildNode(id, *entry));
    std::sort(children.begin(), children.end(),
              [](const auto& a, const auto& b) { return ChildOrder(a.get(), b.get()); });
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(qsizetype(children.size()));
    for (auto& child : children)
        sorted.append(child.release());
    node->addChildren(sorted);
}

void TShellTreeNodes::expandOnce(QTreeWidgetItem* item) {
    TShellTreeNode* node = AsNode(item);
    if (!node || node->m_expandedOnce) return;
    if (node->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator && node->childCount() == 0)
        return; // unmarked: nothing to show
    const TShellFolder* entry = node->m_entry.get();
    TShellFolderObject* parent = entry ? ParentFolderObject(*entry) : nullptr;
    if (parent && parent->attributesOf(entry->ItemId, TItemAttribute::Folder) != 0 &&
        node->childCount() == 0)
        loadChildren(node); // when this throws, the next expansion tries again
    node->m_expandedOnce = true;
    node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TShellTreeNodes::reloadChildren(QTreeWidgetItem* node) {
    while (node->childCount() > 0)
        deleteNode(node->child(0));
    loadChildren(node);
}

QTreeWidgetItem* TShellTreeNodes::insertRebuiltNode(QTreeWidgetItem* old) {
    const TShellFolder& oldEntry = *entryOf(old);
    QTreeWidgetItem* parent = old->parent();
    const TShellFolder* parentEntry = parent ? entryOf(parent) : nullptr;
    auto entry = std::make_unique<TShellFolder>();
    entry->ParentEntry = parentEntry ? parentEntry : &DesktopEntry();
    entry->ItemId = oldEntry.ItemId;
    entry->FullItemId = ConcatItemIds(entry->ParentEntry->FullItemId, entry->ItemId);
    entry->FolderObject = oldEntry.FolderObject;
    QTreeWidgetItem* rebuilt =
        MakeNode(std::move(entry), parent ? TNameForm::InFolder : TNameForm::Normal).release();
    if (parent)
        parent->insertChild(parent->indexOfChild(old), rebuilt);
    else
        m_tree.insertTopLevelItem(m_tree.indexOfTopLevelItem(old), rebuilt);
    loadChildren(rebuilt);
    // The item's sub-folder mark may predate the change that made this refresh necessary.
    rebuilt->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return rebuilt;
}

// Depth first, so that each expansion finds its parent's children already loaded.
void TShellTreeNodes::expandLike(QTreeWidgetItem* old, QTreeWidgetItem* rebuilt) {
    if (const TShellFolder* entry = entryOf(old); entry && old->isExpanded())
        if (QTreeWidgetItem* found = findLoadedNode(FullIdOf(*entry), rebuilt))
            found->setExpanded(true);
    for (int i = 0; i < old->childCount(); ++i)
        expandLike(old->child(i), rebuilt);
}

// The node leaves the tree while it is still whole, so that what the change event asks of it
// is answered by a node, not by the remains of one being destroyed.
void TShellTreeNodes::deleteNode(QTreeWidgetItem* node) {
    if (QTreeWidgetItem* parent = node->parent())
        parent->removeChild(node);
    else
        m_tree.takeTopLevelItem(m_tree.indexOfTopLevelItem(node));
    delete node;
}

QTreeWidgetItem* TShellTreeNodes::findLoadedNode(const TItemIdList& fullId,
                                                 QTreeWidgetItem* start) {
    if (!start) return nullptr;
    const TShellFolder* entry = entryOf(start);
    if (entry && DesktopEntry().FolderObject->compareIds(fullId, entry->FullItemId) == 0)
        return start;
    for (int i = 0; i < start->childCount(); ++i)
        if (QTreeWidgetItem* found = findLoadedNode(fullId, start->child(i))) return found;
    return nullptr;
}

QTreeWidgetItem* TShellTreeNodes::expandBranchTo(const TItemIdList& fullId) {
    QTreeWidgetItem* node = m_tree.topLevelItem(0);
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

bool TShellTreeNodes::renameItem(TShellFolder* entry, const std::string& newName) {
    TShellFolderObject* parent = entry ? ParentFolderObject(*entry) : nullptr;
    const bool isTop = entry && entry->ParentEntry == &DesktopEntry();
    if (!parent || isTop || !parent->attributesOf(entry->ItemId, TItemAttribute::CanRename))
        return false;
    std::optional<TItemIdList> newId = parent->setNameOf(entry->ItemId, newName);
    if (!newId) throw engine::TError(messages::RenameFailed(newName));
    entry->ItemId = std::move(*newId);
    entry->FullItemId = FullIdOf(*entry);
    // The old folder object still reads the old path.
    entry->FolderObject = parent->bindToObject(entry->ItemId);
    return true;
}
