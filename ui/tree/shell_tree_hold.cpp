// The folder a batch renames in, held in the tree while the batch runs.

#include "ui/tree/shell_tree_view.h"

#include <QToolTip>

#include "ui/namespace/messages.h"
#include "ui/tree/folder_hold.h"

namespace {

QString Text(std::string_view message) {
    return QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
}

} // namespace

QString TShellTreeView::holdReason(const std::string& path) const {
    return TakesAlong(path, m_heldFolder) ? Text(messages::HeldByBatch) : QString();
}

// Editing opens from editItem() or an edit trigger; a click on a selected label comes back
// through editItem() after the double-click interval, so it is let through here.
bool TShellTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opens =
        trigger == AllEditTriggers || (trigger != SelectedClicked && (editTriggers() & trigger));
    QTreeWidgetItem* node = itemFromIndex(index);
    const TShellFolder* entry = entryOf(node);
    if (!opens || !entry || m_heldFolder.empty()) return QTreeWidget::edit(index, trigger, event);
    const QString reason = holdReason(shellDisplayName(DesktopEntry().FolderObject.get(),
                                                       entry->FullItemId, TNameForm::ForParsing));
    if (reason.isEmpty()) return QTreeWidget::edit(index, trigger, event);
    QToolTip::showText(labelCentre(node), reason, viewport(), visualItemRect(node));
    return false;
}
