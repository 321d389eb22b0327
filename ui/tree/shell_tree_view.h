#pragma once
// ShellTreeView1: the folders of the namespace from the desktop down, loaded lazily.

#include <memory>
#include <string>

#include <QPersistentModelIndex>
#include <QString>
#include <QTreeWidget>

#include "engine/engine.h"
#include "ui/namespace/shell_namespace.h"
#include "ui/tree/folder_menu_hooks.h"
#include "ui/tree/shell_tree_nodes.h"

class TShellTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TShellTreeView(QWidget* parent = nullptr);
    ~TShellTreeView() override;

    // The root text: a named root ("rfDesktop", the default) or an absolute folder path.
    // Once the tree has been built, setting it rebuilds the tree (and may throw as buildRoot).
    QString root() const { return m_root; }
    void setRoot(const QString& rootText);

    // Builds the one top node from the root text, expands and selects it (raising changed).
    // A root that can't be resolved throws engine::TError "Error setting path: ..." after the
    // tree has been rebuilt from the previous root, or left empty when there was none.
    void buildRoot();

    // The entry of the right-click target while one is handled, else of the selected node.
    TShellFolder* selectedEntry() const;
    // The selected folder's absolute path (raw bytes, no trailing separator but a root's own); a
    // virtual item's display name; empty when nothing is selected.
    std::string selectedPath() const;
    QTreeWidgetItem* rightClickTarget() const;

    // The tree's nodes and the entries they own.
    TShellTreeNodes& nodes() { return m_nodes; }

    // The regional settings the properties dialog shows times in.
    void setFormatSettings(engine::TFormatSettings settings) {
        m_formatSettings = std::move(settings);
    }
    const engine::TFormatSettings& formatSettings() const { return m_formatSettings; }
    // Replaces what the folder menu reaches outside the tree (tests record instead).
    void setMenuHooks(TFolderMenuHooks hooks) { m_menuHooks = std::move(hooks); }
    const TFolderMenuHooks& menuHooks() const { return m_menuHooks; }
    // Rebuilds the branch of `node` from the disk, keeping its expanded sub-branches expanded,
    // the top visible node and the selection (by id). Returns the node that replaced `node`,
    // null when `node` has no folder to enumerate.
    QTreeWidgetItem* refreshBranch(QTreeWidgetItem* node);
    // Selects the folder at the absolute `path` (raw bytes), expanding the branch down to it;
    // the move raises changed. False when the tree has no node for it (missing, hidden, below
    // a folder that can't be read, or outside the root): the selection stays.
    bool selectPath(const std::string& path);

    // While a batch renames in the folder at `path` (absolute, raw bytes; empty: none), the
    // verbs and label edits that would move, rename or delete it, or a folder holding it, wait
    // and say why; so does pasting a cut of such a folder, or a cut into one.
    void setHeldFolder(std::string path) { m_heldFolder = std::move(path); }
    const std::string& heldFolder() const { return m_heldFolder; }
    // Why the folder at `path` waits (it is the held folder or holds it); empty when it doesn't.
    QString holdReason(const std::string& path) const;

    // The node a menu command acts on: the right-click target while one is handled, else the
    // selected node; null when it has no entry.
    QTreeWidgetItem* selectedNode() const;
    // The label's centre in screen coordinates, where a menu asked from the keyboard opens.
    QPoint labelCentre(QTreeWidgetItem* node) const;
    // What the tree itself does after `verb` has succeeded on the selected node: a deleted
    // folder's node goes, a pasted-into folder's branch is rebuilt.
    void completeVerb(const QString& verb);

signals:
    // The selection moved to `node` (null when the tree lost its selection).
    void changed(QTreeWidgetItem* node);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    // A label whose folder is held does not open for editing; a tip says why.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    friend class TShellTreeLabelDelegate;

    void onItemExpanded(QTreeWidgetItem* node);
    void onItemCollapsed(QTreeWidgetItem* node);
    void onCurrentItemChanged(QTreeWidgetItem* current);
    void buildTopNode();
    void commitLabelEdit(QTreeWidgetItem* node, const QString& text);
    void removeOldBranch(QTreeWidgetItem* old);

    QString m_root = QStringLiteral("rfDesktop");
    QString m_previousRoot = m_root;
    std::unique_ptr<TShellFolder> m_rootEntry;
    bool m_rootBuilt = false;    // buildRoot has run once: root changes rebuild from now on
    bool m_buildingRoot = false; // stops re-entry while the top node is made
    bool m_clearing = false;     // nodes are being cleared: no change events
    QPersistentModelIndex m_rightClickTarget; // dropped by itself when its node is deleted
    TFolderMenuHooks m_menuHooks;
    engine::TFormatSettings m_formatSettings;
    std::string m_heldFolder;
    TShellTreeNodes m_nodes{*this};
};
