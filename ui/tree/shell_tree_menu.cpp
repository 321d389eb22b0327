// The folder tree's context menu: the request, its target, and what the tree itself does
// after a command has succeeded.

#include "ui/tree/shell_tree_view.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QScopeGuard>

#include "ui/widgets/error_display.h"

// A request from the mouse targets the node under the pointer, or the selected node beside
// all nodes; one from the keyboard targets the selected node. The target stays set while its
// command runs, so a deleted node's change event sees no selected path.
void TShellTreeView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    setFocus(Qt::PopupFocusReason);
    const bool byMouse = event->reason() == QContextMenuEvent::Mouse;
    QTreeWidgetItem* target = byMouse ? itemAt(event->pos()) : nullptr;
    if (!target) target = currentItem();
    const QPoint at = byMouse || !target ? event->globalPos() : labelCentre(target);
    m_rightClickTarget = QPersistentModelIndex(indexFromItem(target));
    const auto clear = qScopeGuard([this] { m_rightClickTarget = QPersistentModelIndex(); });
    Guarded([&] { showShellMenu(selectedEntry(), at); });
}

// The platform turns the context-menu key into a request; Shift+F10 is the tree's own.
void TShellTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_F10 || event->modifiers() != Qt::ShiftModifier)
        return QTreeWidget::keyPressEvent(event);
    QContextMenuEvent request(QContextMenuEvent::Keyboard, {}, {}, event->modifiers());
    contextMenuEvent(&request);
}

QPoint TShellTreeView::labelCentre(QTreeWidgetItem* node) const {
    const QModelIndex index = indexFromItem(node);
    const QRect row = visualRect(index);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = row;
    const int width =
        std::min(itemDelegateForIndex(index)->sizeHint(option, index).width(), row.width());
    return viewport()->mapToGlobal(QPoint(row.left() + width / 2, row.center().y()));
}

QTreeWidgetItem* TShellTreeView::selectedNode() const {
    QTreeWidgetItem* node = m_rightClickTarget.isValid() ? rightClickTarget() : currentItem();
    return entryOf(node) ? node : nullptr;
}

void TShellTreeView::completeVerb(const QString& verb) {
    QTreeWidgetItem* node = selectedNode();
    if (!node) return;
    if (verb == verbs::Delete) {
        const std::unique_ptr<TShellFolder> entry = detachEntry(node);
        deleteNode(node);
    } else if (verb == verbs::Paste) {
        refreshBranch(node);
    }
}
