// Renaming a folder from its label in the folder tree.

#include "ui/tree/shell_tree_view.h"

#include "engine/engine.h"
#include "ui/widgets/error_display.h"
#include "ui/namespace/messages.h"

// An unchanged label renames to the name's own bytes: the label shows some names only
// approximately (bytes that are not UTF-8, question marks it leaves out), and its text would
// name another folder.
void TShellTreeView::commitLabelEdit(QTreeWidgetItem* node, const QString& text) {
    Guarded([&] {
        TShellFolder* entry = entryOf(node);
        if (!entry) return;
        // The label may have opened before the batch started.
        const QString held = holdReason(
            shellDisplayName(DesktopEntry().FolderObject.get(), entry->FullItemId,
                             TNameForm::ForParsing));
        if (!held.isEmpty()) throw engine::TError(held.toStdString());
        TShellFolderObject* parent = ParentFolderObject(*entry);
        const std::string newName = text == node->text(0) && parent
                                        ? parent->displayNameOf(entry->ItemId, TNameForm::InFolder)
                                        : text.toStdString();
        if (!renameItem(entry, newName)) return;
        node->setText(0, text);
        if (node->childCount() > 0) reloadChildren(node);
    });
}

// Loaded sub-folders still hold the old path in their ids: they are enumerated again. A
// selection among them moves up to the renamed folder, raising the change event.
void TShellTreeView::reloadChildren(QTreeWidgetItem* node) {
    for (const QTreeWidgetItem* at = currentItem(); at; at = at->parent()) {
        if (at->parent() == node) {
            setCurrentItem(node);
            break;
        }
    }
    while (node->childCount() > 0)
        deleteNode(node->child(0));
    loadChildren(node);
}

bool TShellTreeView::renameItem(TShellFolder* entry, const std::string& newName) {
    TShellFolderObject* parent = entry ? ParentFolderObject(*entry) : nullptr;
    const bool isTop = entry && entry->ParentEntry == &DesktopEntry();
    if (!parent || isTop || !parent->attributesOf(entry->ItemId, TItemAttribute::CanRename))
        return false;
    std::optional<TItemIdList> newId = parent->setNameOf(entry->ItemId, newName);
    if (!newId) throw engine::TError(messages::RenameFailed(newName));
    entry->ItemId = std::move(*newId);
    const TItemIdList parentId =
        entry->ParentEntry ? entry->ParentEntry->FullItemId : TItemIdList{};
    entry->FullItemId = ConcatItemIds(parentId, entry->ItemId);
    // The old folder object still reads the old path.
    entry->FolderObject = parent->bindToObject(entry->ItemId);
    return true;
}
