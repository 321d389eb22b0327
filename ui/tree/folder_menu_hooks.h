#pragma once
// What the folder tree's context menu reaches outside the tree, and the verbs its commands
// carry. On Linux the menu is our own; on Windows it is the shell's, whose commands name the
// same verbs.

#include <functional>

#include <QPoint>
#include <QString>
#include <QUrl>

class QMenu;

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

// Shows `menu` at the screen position and gives back the chosen verb, empty for none. Each
// action of the menu carries its verb as its data.
using TMenuChooser = std::function<QString(QMenu& menu, const QPoint& at)>;

// Asks the user a yes/no question; true means yes.
using TDeleteQuestion = std::function<bool(const QString& question)>;

// An empty member means the program's own (the platform's menu, QDesktopServices::openUrl, a
// message box). Tests put recorders in place; on Windows a chooser is shown the shell menu's
// commands as a QMenu instead of the shell's own popup.
struct TFolderMenuHooks {
    TMenuChooser ChooseVerb;
    std::function<bool(const QUrl& url)> OpenUrl;
    TDeleteQuestion AskDeleteForGood;
};
