#include "ui/tree/shell_tree_view.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "engine/engine.h"
#include "ui/namespace/messages.h"
#include "ui/widgets/branch_line_style.h"
#include "ui/widgets/error_display.h"

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

// Invalid UTF-8 bytes show as U+FFFD; the bytes themselves stay in the entry's ids.
QString Label(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
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

std::optional<TItemIdList> ResolveRoot(const QString& rootText) {
    if (auto id = ShellNamespace().specialFolderLocation(rootText.toStdString())) return id;
    if (rootText.isEmpty()) return std::nullopt;
    return ShellNamespace().parseDisplayName(QFile::encodeName(rootText).toStdString());
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
    QPalette colors = palette(); // the selection is not shown while the tree has no focus
    colors.setColor(QPalette::Inactive, QPalette::Highlight,
                    colors.color(QPalette::Inactive, QPalette::Base));
    colors.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    colors.color(QPalette::Inactive, QPalette::Text));
    setPalette(colors);
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
    if (const auto rootId = ResolveRoot(m_root)) {
        TShellFolderObject* desktop = DesktopEntry().FolderObject.get();
        auto entry = std::make_unique<TShellFolder>();
        entry->ItemId = *rootId;
        entry->FullItemId = *rootId;
        entry->FolderObject = BindFolderObject(desktop, *rootId);
        if (!entry->FolderObject) entry->FolderObject = DesktopEntry().FolderObject;
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
    auto entry = std::make_unique<TShellFolder>();
    entry->ParentEntry = &DesktopEntry();
    entry->ItemId = m_rootEntry->ItemId;
    entry->FullItemId = ConcatItemIds(DesktopEntry().FullItemId, entry->ItemId);
    entry->FolderObject = m_rootEntry->FolderObject;
    QTreeWidgetItem* top = makeNode(std::move(entry), TNameForm::Normal).release();
    addTopLevelItem(top);
    top->setExpanded(true);
    setCurrentItem(top);
}

std::unique_ptr<QTreeWidgetItem> TShellTreeView::makeNode(std::unique_ptr<TShellFolder> entry,
                                                          TNameForm labelForm) const {
    TShellFolderObject* parent = ParentFolderObject(*entry);
    const TItemIdList& id = entry->ItemId;
    auto node = std::make_unique<TShellTreeNode>(std::move(entry));
    node->setText(0, Label(shellDisplayName(parent, id, labelForm)));
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    if (!parent) return node;
    node->setIcon(
        0, NodeIcon(parent->iconOf(id, TIconForm::Normal), parent->iconOf(id, TIconForm::Open)));
    const bool marked = parent->attributesOf(id, TItemAttribute::HasSubFolders) != 0;
    node->setChildIndicatorPolicy(marked ? QTreeWidgetItem::ShowIndicator
                                         : QTreeWidgetItem::DontShowIndicator);
    return node;
}

std::unique_ptr<QTreeWidgetItem> TShellTreeView::fillChildNode(const TItemIdList& id,
                                                               const TShellFolder& parent) const {
    auto entry = std::make_unique<TShellFolder>();
    entry->ParentEntry = &parent;
    entry->ItemId = id;
    entry->FullItemId = ConcatItemIds(parent.FullItemId, id);
    entry->FolderObject = BindFolderObject(parent.FolderObject.get(), id);
    return makeNode(std::move(entry), TNameForm::InFolder);
}

bool TShellTreeView::childOrder(const QTreeWidgetItem* a, const QTreeWidgetItem* b) const {
    const TShellFolder* first = entryOf(a);
    TShellFolderObject* folder = ParentFolderObject(*first);
    const int answer = folder ? folder->compareIds(first->ItemId, entryOf(b)->ItemId) : 0;
    return static_cast<std::int16_t>(answer & 0xFFFF) < 0;
}

void TShellTreeView::loadChildren(QTreeWidgetItem* node) {
    const TShellFolder* entry = entryOf(node);
    if (!entry) return;
    // A rebuild that loads many nodes has suspended updates already and resumes them itself.
    const bool updating = updatesEnabled();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setUpdatesEnabled(false);
    const auto restore = qScopeGuard([this, updating] {
        setUpdatesEnabled(updating);
        QApplication::restoreOverrideCursor();
    });
    TShellFolderObject* folder = entry->FolderObject.get();
    const auto ids = folder ? folder->enumFolders() : std::nullopt;
    if (!ids) return;
    std::vector<std::unique_ptr<QTreeWidgetItem>> children;
    children.reserve(ids->size());
    for (const TItemIdList& id : *ids)
        children.push_back(fillChildNode(id, *entry));
    std::sort(children.begin(), children.end(),
              [this](const auto& a, const auto& b) { return childOrder(a.get(), b.get()); });
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(qsizetype(children.size()));
    for (auto& child : children)
        sorted.append(child.release());
    node->addChildren(sorted);
}

void TShellTreeView::onItemExpanded(QTreeWidgetItem* item) {
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

TShellFolder* TShellTreeView::entryOf(const QTreeWidgetItem* node) {
    const TShellTreeNode* shellNode = AsNode(node);
    return shellNode ? shellNode->m_entry.get() : nullptr;
}

std::unique_ptr<TShellFolder> TShellTreeView::detachEntry(QTreeWidgetItem* node) {
    TShellTreeNode* shellNode = AsNode(node);
    return shellNode ? std::move(shellNode->m_entry) : nullptr;
}

TShellFolder* TShellTreeView::selectedEntry() const {
    if (QTreeWidgetItem* target = rightClickTarget()) return entryOf(target);
    return entryOf(currentItem());
}

std::string TShellTreeView::selectedPath() const {
    const TShellFolder* entry = selectedEntry();
    if (!entry) return {};
    return shellDisplayName(DesktopEntry().FolderObject.get(), entry->FullItemId,
                            TNameForm::ForParsing);
}

QTreeWidgetItem* TShellTreeView::rightClickTarget() const {
    return m_rightClickTarget.isValid() ? itemFromIndex(m_rightClickTarget) : nullptr;
}

std::string TShellTreeView::shellDisplayName(TShellFolderObject* folder, const TItemIdList& id,
                                             TNameForm form) {
    if (!folder) return std::string(messages::NoParentFolder);
    std::string name = folder->displayNameOf(id, form);
    if (name.size() > 1 && name[0] == '?' && name[1] >= '0' && name[1] <= '9')
        std::erase(name, '?');
    // A virtual item has no path: its own name stands in.
    if (name.starts_with("::{") && form != TNameForm::Normal)
        return shellDisplayName(folder, id, TNameForm::Normal);
    return name;
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
