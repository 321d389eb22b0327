// The folder tree's context menu on Linux: our own menu, and what its verbs do to the disk and
// to the tree.

#include "ui/tree/shell_tree_menu_linux.h"
#include "ui/tree/shell_tree_menu.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScopeGuard>

#include "engine/engine.h"
#include "engine/folder_operations_linux.h"
#include "ui/common/error_display.h"
#include "ui/namespace/messages.h"
#include "ui/tree/folder_clipboard_linux.h"
#include "ui/tree/folder_hold.h"
#include "ui/tree/folder_paste_linux.h"
#include "ui/tree/folder_properties_dialog_linux.h"
#include "ui/tree/folder_trash_linux.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/widgets/text.h"

TTreeContextMenu::TTreeContextMenu(const TFolderMenuState& state, QWidget* parent)
    : m_menu(std::make_unique<QMenu>(parent)) {
    m_menu->setToolTipsVisible(true);
    const auto allows = [&](TItemAttribute attribute) {
        return state.Attributes.testFlag(attribute);
    };
    const bool movable = state.HasPath && !state.IsTop;
    addVerb(QStringLiteral("打开"), verbs::Open, state.HasPath);
    m_menu->addSeparator();
    addVerb(QStringLiteral("剪切"), verbs::Cut, movable && allows(TItemAttribute::CanMove),
            state.HeldReason);
    addVerb(QStringLiteral("复制"), verbs::Copy, state.HasPath && allows(TItemAttribute::CanCopy));
    addVerb(QStringLiteral("粘贴"), verbs::Paste,
            state.HasPath && allows(TItemAttribute::DropTarget) && state.ClipboardHasPaths,
            state.PasteHeldReason);
    m_menu->addSeparator();
    addVerb(QStringLiteral("删除"), verbs::Delete, movable && allows(TItemAttribute::CanDelete),
            state.HeldReason);
    addVerb(QStringLiteral("重命名"), verbs::Rename,
            !state.IsTop && allows(TItemAttribute::CanRename), state.HeldReason);
    addVerb(QStringLiteral("新建文件夹"), verbs::NewFolder,
            state.HasPath && allows(TItemAttribute::DropTarget));
    m_menu->addSeparator();
    addVerb(QStringLiteral("属性"), verbs::Properties,
            state.HasPath && allows(TItemAttribute::HasPropertySheet));
}

QString TTreeContextMenu::choose(const TMenuChooser& choose, const QPoint& at) {
    if (choose) return choose(*m_menu, at);
    return verbOf(m_menu->exec(at));
}

QString TTreeContextMenu::verbOf(const QAction* action) {
    return action ? action->data().toString() : QString();
}

void TTreeContextMenu::addVerb(const QString& text, const QString& verb, bool enabled,
                               const QString& waitReason) {
    QAction* action = m_menu->addAction(text);
    action->setData(verb);
    action->setEnabled(enabled && waitReason.isEmpty());
    if (!enabled || waitReason.isEmpty()) return;
    action->setToolTip(waitReason);
    action->setStatusTip(waitReason);
}

namespace {

QByteArray Bytes(const std::string& path) {
    return QByteArray::fromStdString(path);
}

std::string ParentDirectory(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

constexpr TItemAttributes AllAttributes =
    TItemAttribute::CanRename | TItemAttribute::CanCopy | TItemAttribute::CanMove |
    TItemAttribute::CanDelete | TItemAttribute::HasPropertySheet | TItemAttribute::DropTarget;

const QMimeData* ClipboardData() {
    return QGuiApplication::clipboard()->mimeData();
}

TFolderMenuState MenuStateOf(const TShellFolder& entry, const std::string& path) {
    TFolderMenuState state;
    state.HasPath = engine::NamesFolderOnDisk(path);
    state.IsTop = entry.ParentEntry == &DesktopEntry();
    if (TShellFolderObject* parent = ParentFolderObject(entry))
        state.Attributes = parent->attributesOf(entry.ItemId, AllAttributes);
    state.ClipboardHasPaths = !ReadClipboardPaste(ClipboardData()).Paths.isEmpty();
    return state;
}

// A cut is a move: of the held folder away, or of other folders into the held one.
QString PasteHoldReason(const std::string& path, const std::string& held) {
    if (held.empty()) return {};
    const TClipboardPaste paste = ReadClipboardPaste(ClipboardData());
    if (!paste.IsCut) return {};
    for (const QByteArray& source : paste.Paths)
        if (TakesAlong(source.toStdString(), held)) return TextOf(messages::PasteMovesHeld);
    return TakesAlong(path, held) ? TextOf(messages::PasteIntoHeld) : QString();
}

// The file manager starts in the folder's parent directory. The directory is set back also
// when opening fails: a working directory left on a removable volume would keep it busy.
bool OpenFolder(const TShellTreeView& tree, const std::string& path) {
    const QString saved = QDir::currentPath();
    const auto restore = qScopeGuard([&saved] { QDir::setCurrent(saved); });
    QDir::setCurrent(QFile::decodeName(Bytes(ParentDirectory(path))));
    const QUrl url = QUrl::fromEncoded(FileUrlFromPath(Bytes(path)));
    const TFolderMenuHooks& hooks = tree.menuHooks();
    return hooks.OpenUrl ? hooks.OpenUrl(url) : QDesktopServices::openUrl(url);
}

// Items that could not be pasted are reported; the rest of the paste stands.
bool PasteInto(const std::string& path) {
    const bool wasCut = ReadClipboardPaste(ClipboardData()).IsCut;
    const QStringList failures =
        PasteFailureTexts(PasteClipboardInto(Bytes(path), ClipboardData()));
    if (!failures.isEmpty())
        ShowError(failures.join(QLatin1Char('\n')));
    else if (wasCut) // what was cut is gone from where it was: it can't be pasted again
        QGuiApplication::clipboard()->clear();
    return true;
}

// A folder the trash refuses is deleted for good only when the user says so.
bool DeleteFolder(TShellTreeView& tree, const std::string& path) {
    const TTrashResult trashed = MoveToTrash(Bytes(path));
    if (trashed.Trashed) return true;
    const TFolderMenuHooks& hooks = tree.menuHooks();
    const TDeleteQuestion ask =
        hooks.AskDeleteForGood ? hooks.AskDeleteForGood : MessageBoxQuestion(&tree);
    const TDeleteForGoodResult result = AskAndDeleteForGood(Bytes(path), trashed.ErrorText, ask);
    if (result.Outcome == TDeleteForGoodOutcome::Failed)
        throw engine::TError(result.ErrorText.toStdString());
    return result.Outcome == TDeleteForGoodOutcome::Deleted;
}

// The new folder's node shows up in the rebuilt branch with its label open for a name.
bool MakeFolderIn(TShellTreeView& tree, const std::string& path) {
    const std::string name = engine::MakeNewFolder(path);
    QTreeWidgetItem* rebuilt = tree.refreshBranch(tree.selectedNode());
    if (!rebuilt) return true;
    rebuilt->setExpanded(true);
    for (int i = 0; i < rebuilt->childCount(); ++i) {
        QTreeWidgetItem* child = rebuilt->child(i);
        const TShellFolder* entry = TShellTreeNodes::entryOf(child);
        if (!entry || ShellDisplayName(ParentFolderObject(*entry), entry->ItemId,
                                       TNameForm::InFolder) != name)
            continue;
        tree.scrollToItem(child);
        tree.editItem(child);
        break;
    }
    return true;
}

bool ShowProperties(TShellTreeView& tree, const std::string& path) {
    auto* dialog = new TFolderPropertiesDialog(Bytes(path), tree.formatSettings(), &tree);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return true;
}

// Carries out a verb on the folder at `path`; true when it succeeded.
bool RunVerb(TShellTreeView& tree, const QString& verb, const std::string& path) {
    if (verb == verbs::Open) return OpenFolder(tree, path);
    if (verb == verbs::Cut || verb == verbs::Copy) {
        const auto action = verb == verbs::Cut ? TClipboardAction::Cut : TClipboardAction::Copy;
        QGuiApplication::clipboard()->setMimeData(MakeFolderClipboardData({Bytes(path)}, action));
        return true;
    }
    if (verb == verbs::Paste) return PasteInto(path);
    if (verb == verbs::Delete) return DeleteFolder(tree, path);
    if (verb == verbs::NewFolder) return MakeFolderIn(tree, path);
    if (verb == verbs::Properties) return ShowProperties(tree, path);
    return false;
}

} // namespace

void ShowShellTreeMenu(TShellTreeView& tree, TShellFolder& entry, const QPoint& at) {
    const std::string path = ParsingPath(entry);
    TFolderMenuState state = MenuStateOf(entry, path);
    state.HeldReason = tree.holdReason(path);
    state.PasteHeldReason = PasteHoldReason(path, tree.heldFolder());
    TTreeContextMenu menu(state, &tree);
    const QString verb = menu.choose(tree.menuHooks().ChooseVerb, at).toLower();
    if (verb.isEmpty()) return;
    if (verb == verbs::Rename) {
        if (QTreeWidgetItem* node = tree.selectedNode()) tree.editItem(node);
        return;
    }
    if (RunVerb(tree, verb, path)) tree.completeVerb(verb);
}
