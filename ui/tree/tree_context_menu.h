#pragma once
// The folder tree's context menu: what a file manager offers for a folder, each action carrying
// its verb. The tree decides what the verbs do; this class only builds and shows the menu.

#include <functional>
#include <memory>

#include <QMenu>
#include <QPoint>
#include <QString>
#include <QUrl>

#include "ui/namespace/shell_namespace.h"
#include "ui/tree/folder_trash.h"

namespace verbs {
inline const QString Open = QStringLiteral("open");
inline const QString Cut = QStringLiteral("cut");
inline const QString Copy = QStringLiteral("copy");
inline const QString Paste = QStringLiteral("paste");
inline const QString Delete = QStringLiteral("delete");
inline const QString Rename = QStringLiteral("rename");
inline const QString NewFolder = QStringLiteral("newfolder");
inline const QString Properties = QStringLiteral("properties");
} // namespace verbs

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

// Shows `menu` at the screen position and gives back the chosen verb, empty for none.
using TMenuChooser = std::function<QString(QMenu& menu, const QPoint& at)>;

// What the tree's menu reaches outside the tree; an empty member means the program's own
// (the menu's exec(), QDesktopServices::openUrl, a message box). Tests put recorders in place.
struct TFolderMenuHooks {
    TMenuChooser ChooseVerb;
    std::function<bool(const QUrl& url)> OpenUrl;
    TDeleteQuestion AskDeleteForGood;
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
