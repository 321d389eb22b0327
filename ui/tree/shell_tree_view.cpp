#include "ui/tree/shell_tree_view.h"

#include <algorithm>
#include <optional>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "engine/engine.h"
#include "ui/common/error_display.h"
#include "ui/namespace/messages.h"
#include "ui/tree/folder_hold.h"
#include "ui/tree/shell_tree_menu.h"
#include "ui/widgets/branch_line_style.h"
#include "ui/widgets/palette_colors.h"
#include "ui/widgets/text.h"

namespace {

std::optional<TItemIdList> FullIdOf(const TShellFolder* entry) {
    return entry ? std::optional(FullIdOf(*entry)) : std::nullopt;
}

bool IsInBranch(const QTreeWidgetItem* node, const QTreeWidgetItem* branch) {
    for (; node; node = node->parent())
        if (node == branch) return true;
    return false;
}

} // namespace

// Hands an edited label to the tree instead of writing the text into the node.
class TShellTreeLabelDelegate : public QStyledItemDelegate {
public:
    explicit TShellTreeLabelDelegate(TShellTreeView* tree)
        : QStyledItemDelegate(tree), m_tree(tree) {}

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        if (const auto* edit = qobject_cast<QLineEdit*>(editor))
            m_tree->commitLabelEdit(m_tree->itemFromIndex(index), edit->text());
    }

private:
    TShellTreeView* m_tree;
};

TShellTreeView::TShellTreeView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(19);
    auto* branchLines = new TBranchLineStyle; // below the top node: lines and expand buttons
    branchLines->setParent(this);
    setStyle(branchLines);
    setIconSize(QSize(16, 16));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setItemDelegate(new TShellTreeLabelDelegate(this));
    HideInactiveSelection(*this);
    // An expansion loads children from the disk; what fails there is shown, never thrown
    // through the view's signal.
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { Guarded([&] { onItemExpanded(node); }); });
    connect(this, &QTreeWidget::itemCollapsed, this, &TShellTreeView::onItemCollapsed);
    connect(this, &QTreeWidget::currentItemChanged, this, &TShellTreeView::onCurrentItemChanged);
}

TShellTreeView::~TShellTreeView() {
    m_clearing = true;
    clear();
}

void TShellTreeView::setRoot(const QString& rootText) {
    if (rootText == m_root) return;
    m_previousRoot = m_root;
    m_root = rootText;
    if (m_rootBuilt) buildRoot();
}

void TShellTreeView::buildRoot() {
    if (m_buildingRoot) return;
    m_rootBuilt = true;
    std::string failure;
    if (auto entry = TShellTreeNodes::resolveRoot(m_root)) {
        m_rootEntry = std::move(entry);
    } else {
        failure = messages::ErrorSettingPath(m_root.toStdString());
        m_root = m_previousRoot;
    }
    if (m_rootEntry) buildTopNode();
    if (!failure.empty()) throw engine::TError(failure);
}

void TShellTreeView::buildTopNode() {
    m_buildingRoot = true;
    const auto done = qScopeGuard([this] { m_buildingRoot = m_clearing = false; });
    m_clearing = true;
    clear();
    m_clearing = false;
    QTreeWidgetItem* top = TShellTreeNodes::makeTopNode(*m_rootEntry).release();
    addTopLevelItem(top);
    top->setExpanded(true);
    setCurrentItem(top);
}

void TShellTreeView::onItemExpanded(QTreeWidgetItem* node) {
    m_nodes.expandOnce(node);
}

// The view keeps a hidden current node; the tree moves the selection up instead.
void TShellTreeView::onItemCollapsed(QTreeWidgetItem* node) {
    for (const QTreeWidgetItem* at = currentItem(); at; at = at->parent()) {
        if (at->parent() == node) {
            setCurrentItem(node);
            return;
        }
    }
}

void TShellTreeView::onCurrentItemChanged(QTreeWidgetItem* current) {
    if (!m_clearing) emit changed(current);
}

TShellFolder* TShellTreeView::selectedEntry() const {
    if (QTreeWidgetItem* target = rightClickTarget()) return TShellTreeNodes::entryOf(target);
    return TShellTreeNodes::entryOf(currentItem());
}

std::string TShellTreeView::selectedPath() const {
    const TShellFolder* entry = selectedEntry();
    if (!entry) return {};
    return ParsingPath(*entry);
}

QTreeWidgetItem* TShellTreeView::rightClickTarget() const {
    return m_rightClickTarget.isValid() ? itemFromIndex(m_rightClickTarget) : nullptr;
}

// A right click picks its target without moving the selection.
void TShellTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) return QTreeWidget::mousePressEvent(event);
    m_rightClickTarget = QPersistentModelIndex(indexAt(event->position().toPoint()));
    event->accept();
}

void TShellTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) return QTreeWidget::mouseReleaseEvent(event);
    m_rightClickTarget = QPersistentModelIndex();
    event->accept();
}

// A label that does not fit its row shows whole in a tool tip.
bool TShellTreeView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QTreeWidget::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QRect shown = visualRect(index);
    if (index.isValid() &&
        itemDelegateForIndex(index)->sizeHint(option, index).width() > shown.width())
        QToolTip::showText(help->globalPos(), index.data().toString(), viewport(), shown);
    else
        QToolTip::hideText();
    return true;
}

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
    Guarded([&] {
        if (TShellFolder* entry = selectedEntry()) ShowShellTreeMenu(*this, *entry, at);
    });
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
    return TShellTreeNodes::entryOf(node) ? node : nullptr;
}

void TShellTreeView::completeVerb(const QString& verb) {
    QTreeWidgetItem* node = selectedNode();
    if (!node) return;
    if (verb == verbs::Delete) {
        const std::unique_ptr<TShellFolder> entry = TShellTreeNodes::detachEntry(node);
        m_nodes.deleteNode(node);
    } else if (verb == verbs::Paste) {
        refreshBranch(node);
    }
}

QString TShellTreeView::holdReason(const std::string& path) const {
    return TakesAlong(path, m_heldFolder) ? TextOf(messages::HeldByBatch) : QString();
}

// Editing opens from editItem() or an edit trigger; a click on a selected label comes back
// through editItem() after the double-click interval, so it is let through here.
bool TShellTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opens =
        trigger == AllEditTriggers || (trigger != SelectedClicked && (editTriggers() & trigger));
    QTreeWidgetItem* node = itemFromIndex(index);
    const TShellFolder* entry = TShellTreeNodes::entryOf(node);
    if (!opens || !entry || m_heldFolder.empty()) return QTreeWidget::edit(index, trigger, event);
    const QString reason = holdReason(ParsingPath(*entry));
    if (reason.isEmpty()) return QTreeWidget::edit(index, trigger, event);
    QToolTip::showText(labelCentre(node), reason, viewport(), visualItemRect(node));
    return false;
}

// An unchanged label renames to the name's own bytes: the label shows some names only
// approximately (bytes that are not UTF-8, question marks it leaves out), and its text would
// name another folder. Loaded sub-folders still hold the old path in their ids: they are
// enumerated again, and a selection among them moves up to the renamed folder first.
void TShellTreeView::commitLabelEdit(QTreeWidgetItem* node, const QString& text) {
    Guarded([&] {
        TShellFolder* entry = TShellTreeNodes::entryOf(node);
        if (!entry) return;
        // The label may have opened before the batch started.
        const QString held = holdReason(ParsingPath(*entry));
        if (!held.isEmpty()) throw engine::TError(held.toStdString());
        TShellFolderObject* parent = ParentFolderObject(*entry);
        const std::string newName = text == node->text(0) && parent
                                        ? parent->displayNameOf(entry->ItemId, TNameForm::InFolder)
                                        : text.toStdString();
        if (!TShellTreeNodes::renameItem(entry, newName)) return;
        node->setText(0, text);
        if (node->childCount() == 0) return;
        if (IsInBranch(currentItem(), node) && currentItem() != node) setCurrentItem(node);
        m_nodes.reloadChildren(node);
    });
}

QTreeWidgetItem* TShellTreeView::refreshBranch(QTreeWidgetItem* node) {
    const TShellFolder* entry = TShellTreeNodes::entryOf(node);
    if (!entry || !entry->FolderObject) return nullptr;
    const std::optional<TItemIdList> topId = FullIdOf(TShellTreeNodes::entryOf(itemAt(0, 0)));
    const std::optional<TItemIdList> selectedId = FullIdOf(selectedEntry());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setUpdatesEnabled(false);
    const auto restore = qScopeGuard([this] {
        setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    });
    QTreeWidgetItem* rebuilt = m_nodes.insertRebuiltNode(node);
    m_nodes.expandLike(node, rebuilt);
    removeOldBranch(node);
    if (selectedId)
        if (QTreeWidgetItem* found = TShellTreeNodes::findLoadedNode(*selectedId, topLevelItem(0)))
            setCurrentItem(found);
    if (topId)
        if (QTreeWidgetItem* found = TShellTreeNodes::findLoadedNode(*topId, topLevelItem(0)))
            scrollToItem(found, QAbstractItemView::PositionAtTop);
    return rebuilt;
}

// The entry goes first, so that change events raised while the node goes see no path; a
// selection inside the branch is dropped first, so that re-selecting by id always raises one.
void TShellTreeView::removeOldBranch(QTreeWidgetItem* old) {
    const std::unique_ptr<TShellFolder> entry = TShellTreeNodes::detachEntry(old);
    if (IsInBranch(currentItem(), old)) setCurrentItem(nullptr);
    m_nodes.deleteNode(old);
}

bool TShellTreeView::selectPath(const std::string& path) {
    const std::optional<TItemIdList> fullId = ShellNamespace().parseDisplayName(path);
    QTreeWidgetItem* node = fullId ? m_nodes.expandBranchTo(*fullId) : nullptr;
    if (!node) return false;
    setCurrentItem(node);
    scrollToItem(node);
    return true;
}
