#pragma once
// A folder tree on a namespace rooted in a temporary folder, in a host window that records
// each change event the way the main window answers it, with the menu driven by the test.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "temp_namespace.h"
#include "ui/common/error_display.h"
#include "ui/tree/shell_tree_view.h"

inline void Write(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

inline QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline QStringList Labels(const QTreeWidgetItem* node) {
    QStringList labels;
    for (int i = 0; i < node->childCount(); ++i)
        labels << node->child(i)->text(0);
    return labels;
}

// Stands in for the main window: records the path the tree gives at each change event.
class TTreeHost : public QWidget {
public:
    TTreeHost() : tree(new TShellTreeView(this)), other(new QLineEdit(this)) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(tree);
        layout->addWidget(other);
        connect(tree, &TShellTreeView::changed, this,
                [this] { changedPaths.push_back(tree->selectedPath()); });
        tree->buildRoot();
        changesWhileBuilding = changedPaths.size();
        resize(320, 600);
    }
    TShellTreeView* tree;
    QLineEdit* other;
    std::vector<std::string> changedPaths;
    std::size_t changesWhileBuilding = 0; // before the window's own creation step
};

// What the menu showed the last time, and the verb the test picks.
struct TMenuRecord {
    QString choice;
    int shown = 0;
    QStringList enabled;
    QStringList waitReasons; // the tips of the verbs that wait
    std::string path;        // the tree's selected path while the menu was up
    QPoint at;
};

class TTreeMenuFixture {
protected:
    // A delete that a test picks by mistake must not reach the user's own trash.
    void keepTrashInScratch() { qputenv("XDG_DATA_HOME", QFile::encodeName(m_scratchData.path())); }
    // `listSubFolders`, when given, stands in for the disk (to count or fail enumerations).
    void startTree(const QStringList& folders, TListSubFolders listSubFolders = {}) {
        m_errors.clear();
        m_menu = {};
        SetErrorDisplay([this](const QString& message) { m_errors << message; });
        m_namespace.emplace(std::move(listSubFolders));
        for (const QString& folder : folders)
            QDir().mkpath(m_namespace->desk(folder));
        m_host = std::make_unique<TTreeHost>();
        TFolderMenuHooks hooks;
        hooks.ChooseVerb = [this](QMenu& menu, const QPoint& at) { return chooseVerb(menu, at); };
        m_host->tree->setMenuHooks(hooks);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        m_host->other->setFocus();
    }
    void stopTree() {
        m_host.reset();
        m_namespace.reset();
        SetErrorDisplay({});
    }

    TShellTreeView& tree() const { return *m_host->tree; }
    QTreeWidgetItem* top() const { return tree().topLevelItem(0); }
    QString desk(const QString& relative = {}) const { return m_namespace->desk(relative); }
    QString home() const { return m_namespace->home(); }
    static std::string bytes(const QString& path) { return TTempNamespace::bytes(path); }

    // The loaded node with `label` below `parent` (the top node when null).
    QTreeWidgetItem* node(const QString& label, QTreeWidgetItem* parent = nullptr) const {
        QTreeWidgetItem* in = parent ? parent : top();
        for (int i = 0; i < in->childCount(); ++i)
            if (in->child(i)->text(0) == label) return in->child(i);
        return nullptr;
    }

    // A right click at `node` (or at `at` in the viewport) that picks `verb` from the menu.
    void rightClick(QTreeWidgetItem* target, const QString& verb, QPoint at = {}) {
        if (target) {
            if (!tree().viewport()->rect().contains(tree().visualItemRect(target).center()))
                tree().scrollToItem(target);
            at = tree().visualItemRect(target).center();
        }
        m_menu.choice = verb;
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree().viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree().viewport(), &event);
    }
    // The context-menu key (or Shift+F10): a request without a position.
    void menuKey(const QString& verb) {
        m_menu.choice = verb;
        QContextMenuEvent event(QContextMenuEvent::Keyboard, {}, {});
        QApplication::sendEvent(&tree(), &event);
    }
    void select(QTreeWidgetItem* target) {
        tree().scrollToItem(target);
        QTest::mouseClick(tree().viewport(), Qt::LeftButton, {},
                          tree().visualItemRect(target).center());
        QTRY_COMPARE(tree().currentItem(), target);
    }
    QLineEdit* labelEditor() const { return tree().viewport()->findChild<QLineEdit*>(); }

    std::unique_ptr<TTreeHost> m_host;
    TMenuRecord m_menu;
    QStringList m_errors;

private:
    QString chooseVerb(QMenu& menu, const QPoint& at) {
        ++m_menu.shown;
        m_menu.at = at;
        m_menu.path = tree().selectedPath();
        m_menu.enabled.clear();
        m_menu.waitReasons.clear();
        for (const QAction* action : menu.actions()) {
            if (!action->isSeparator() && action->isEnabled())
                m_menu.enabled << action->data().toString();
            else if (!action->isSeparator() && action->toolTip() != action->text())
                m_menu.waitReasons << action->toolTip();
        }
        return m_menu.enabled.contains(m_menu.choice) ? m_menu.choice : QString();
    }

    std::optional<TTempNamespace> m_namespace;
    QTemporaryDir m_scratchData;
};
