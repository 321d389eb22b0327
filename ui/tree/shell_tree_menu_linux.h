#pragma once
// The folder tree's context menu: what a file manager offers for a folder, each action carrying
// its verb, and what each verb does (RunVerb, over the tree and the engine's folder operations).

#include <functional>
#include <memory>

#include <QMenu>
#include <QPoint>
#include <QString>
#include <QUrl>

#include "ui/namespace/shell_namespace.h"
#include "ui/tree/folder_menu_hooks.h"
#include "ui/tree/folder_trash_linux.h"

// What the menu needs to know of the item it is shown for.
struct TFolderMenuState {
    bool HasPath = false; // a file-system folder, not a virtual item
    bool IsTop = false;   // the tree's top node: it stays where it is
    TItemAttributes Attributes;
    bool ClipboardHasPaths = false;
    // Not empty while a batch runs in the folder or below it: why cut, delete and rename wait.
    QString HeldReason;
    // Not empty when the paste would move a folder a batch runs in, or move things into it.
    QString PasteHeldReason;
};

class TTreeContextMenu {
public:
    TTreeContextMenu(const TFolderMenuState& state, QWidget* parent);

    QMenu& menu() { return *m_menu; }
    // Shows the menu through `choose` (or exec() when empty); the chosen verb, empty for none.
    QString choose(const TMenuChooser& choose, const QPoint& at);

    // The verb an action of the menu stands for.
    static QString verbOf(const QAction* action);

private:
    // A verb that makes sense but waits for `waitReason` is disabled with the reason as its tip.
    void addVerb(const QString& text, const QString& verb, bool enabled,
                 const QString& waitReason = {});

    std::unique_ptr<QMenu> m_menu;
};
