#pragma once
// The shell's folders as the folder tree's nodes: a helper over the tree widget's items, not a
// Qt model. Each node owns the entry of its item; a folder's children are enumerated when it is
// first expanded, and again when its branch is refreshed or the folder renamed. Nodes are found
// again by their full ids.

#include <memory>
#include <optional>
#include <string>

#include <QString>

#include "ui/namespace/shell_namespace.h"

class QTreeWidget;
class QTreeWidgetItem;

class TShellTreeNodes {
public:
    explicit TShellTreeNodes(QTreeWidget& tree) : m_tree(tree) {}

    static TShellFolder* entryOf(const QTreeWidgetItem* node);
    // Takes the entry away from its node, which then counts as having none.
    static std::unique_ptr<TShellFolder> detachEntry(QTreeWidgetItem* node);

    // The entry of the root text: a named root ("rfDesktop") or an absolute folder path;
    // none when it can't be resolved.
    static std::unique_ptr<TShellFolder> resolveRoot(const QString& rootText);
    // The one top node, for the item of `root`, below the desktop.
    static std::unique_ptr<QTreeWidgetItem> makeTopNode(const TShellFolder& root);

    // Enumerates the node's folder and adds one sorted child per sub-folder.
    void loadChildren(QTreeWidgetItem* node);
    // Loads the children of a marked folder node on its first expansion only.
    void expandOnce(QTreeWidgetItem* node);
    // Empties the node and enumerates its folder again.
    void reloadChildren(QTreeWidgetItem* node);

    // A new node for the item of `old`, just before it, with its children freshly enumerated.
    QTreeWidgetItem* insertRebuiltNode(QTreeWidgetItem* old);
    // Expands in `rebuilt` the nodes that are expanded below `old`.
    void expandLike(QTreeWidgetItem* old, QTreeWidgetItem* rebuilt);
    // Takes the node out of the tree, then destroys it.
    void deleteNode(QTreeWidgetItem* node);

    // The first node at or below `start`, depth first, whose full id names the same item.
    static QTreeWidgetItem* findLoadedNode(const TItemIdList& fullId, QTreeWidgetItem* start);
    // Expands the branch from the top node down to the item of `fullId`, loading as it goes;
    // its node, or null when the tree has none for it.
    QTreeWidgetItem* expandBranchTo(const TItemIdList& fullId);

    // Gives the item of `entry` the name `newName` (raw bytes), never replacing anything. False
    // when the item can't be renamed at all; throws engine::TError "Rename to ... failed" when
    // the namespace refuses.
    static bool renameItem(TShellFolder* entry, const std::string& newName);

private:
    QTreeWidget& m_tree;
};
