// The folder tree's context menu on Windows: the shell's own menu for the folder. The tree
// handles "rename" and the completion of "open", "delete" and "paste" itself; the shell
// carries out every command.

#include "ui/tree/shell_tree_menu.h"

#include <optional>

#include <windows.h>

#include <shlobj.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QMenu>
#include <QScopeGuard>

#include "engine/engine.h"
#include "ui/namespace/namespace_win.h"
#include "ui/tree/shell_tree_view.h"

namespace {

constexpr UINT FirstCommand = 1;
constexpr UINT LastCommand = 0x7FFF;
// The tree's own "rename", for a shell whose menu lacks it (Wine's drops it under CMF_EXPLORE).
constexpr UINT OwnRenameCommand = LastCommand + 1;

QString VerbOf(IContextMenu* shellMenu, UINT command) {
    if (command == OwnRenameCommand) return verbs::Rename;
    return CommandVerb(shellMenu, command - FirstCommand).toLower();
}

// Adds the tree's own "重命名" when the shell offers no "rename" for an item that can be renamed.
void AddRenameWhenMissing(HMENU menu, IContextMenu* shellMenu, bool canRename) {
    if (!canRename) return;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id >= FirstCommand && id <= LastCommand && VerbOf(shellMenu, id) == verbs::Rename)
            return;
    }
    AppendMenuW(menu, MF_STRING, OwnRenameCommand, L"重命名(&M)");
}

// While a shell menu is up, the messages that draw and fill its owner-drawn and late-filled
// submenus go to the menu's own handler. One per process, as only one menu is ever shown.
class TShellMenuMessages : public QAbstractNativeEventFilter {
public:
    static TShellMenuMessages& instance() {
        static TShellMenuMessages* const filter = [] {
            auto* messages = new TShellMenuMessages;
            QCoreApplication::instance()->installNativeEventFilter(messages);
            return messages;
        }();
        return *filter;
    }
    void setHandler(TComPtr<IContextMenu2> handler) { m_handler = std::move(handler); }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr* result) override {
        const auto* msg = static_cast<const MSG*>(message);
        if (!m_handler) return false;
        switch (msg->message) {
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_INITMENUPOPUP:
        case WM_MENUCHAR:
            m_handler->HandleMenuMsg(msg->message, msg->wParam, msg->lParam);
            *result = 0;
            return true;
        default:
            return false;
        }
    }

private:
    TComPtr<IContextMenu2> m_handler;
};

// The directory part of a parsing name, up to and including its last separator.
std::wstring DirectoryPart(const std::string& path) {
    const std::wstring wide = WideText(path);
    const auto separator = wide.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : wide.substr(0, separator + 1);
}

// The shell menu's commands as a QMenu, for a chooser put in place of the shell's popup. Each
// action carries its command's verb, and its command id as the property "command".
std::unique_ptr<QMenu> MirrorMenu(HMENU menu, IContextMenu* shellMenu) {
    auto mirror = std::make_unique<QMenu>();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
        item.dwTypeData = text;
        item.cch = UINT(std::size(text));
        if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &item) || (item.fType & MFT_SEPARATOR) ||
            item.wID < FirstCommand || item.wID > OwnRenameCommand)
            continue;
        QAction* action = mirror->addAction(QString::fromWCharArray(text).remove(u'&'));
        action->setData(VerbOf(shellMenu, item.wID));
        action->setProperty("command", uint(item.wID));
        action->setEnabled(!(item.fState & MFS_DISABLED));
    }
    return mirror;
}

UINT ChooseCommand(HMENU menu, IContextMenu* shellMenu, const TMenuChooser& choose, HWND owner,
                   const QPoint& at) {
    if (!choose)
        return UINT(TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x(), at.y(), 0, owner,
                                   nullptr));
    const std::unique_ptr<QMenu> mirror = MirrorMenu(menu, shellMenu);
    const QString verb = choose(*mirror, at);
    for (const QAction* action : mirror->actions())
        if (!verb.isEmpty() && action->data().toString() == verb)
            return action->property("command").toUInt();
    return 0;
}

// While a batch renames in the folder or below it, the commands that would move, rename or
// delete it wait: greyed, whatever the shell offered.
void GreyMovingCommands(HMENU menu, IContextMenu* shellMenu) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id < FirstCommand || id > OwnRenameCommand) continue;
        const QString verb = VerbOf(shellMenu, id);
        if (verb == verbs::Cut || verb == verbs::Delete || verb == verbs::Rename)
            EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED);
    }
}

// The process's current directory is the folder's parent while "open" runs, as Explorer
// starts there; it is set back afterwards, also when opening failed.
class TOpenDirectory {
public:
    explicit TOpenDirectory(const std::string& parsingPath) {
        wchar_t saved[MAX_PATH + 1] = {};
        if (GetCurrentDirectoryW(DWORD(std::size(saved)), saved)) m_saved = saved;
        const std::wstring directory = DirectoryPart(parsingPath);
        if (!directory.empty()) SetCurrentDirectoryW(directory.c_str());
    }
    ~TOpenDirectory() {
        if (!m_saved.empty()) SetCurrentDirectoryW(m_saved.c_str());
    }
    TOpenDirectory(const TOpenDirectory&) = delete;
    TOpenDirectory& operator=(const TOpenDirectory&) = delete;

private:
    std::wstring m_saved;
};

HRESULT InvokeShellCommand(IContextMenu* shellMenu, UINT offset, HWND owner) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.nShow = SW_SHOWNORMAL;
    return shellMenu->InvokeCommand(&info);
}

// A "delete" the user answered no to leaves the folder in place: its node stays too.
void RunShellCommand(TShellTreeView& tree, IContextMenu* shellMenu, UINT command) {
    const QString verb = VerbOf(shellMenu, command);
    QTreeWidgetItem* node = tree.selectedNode();
    if (verb == verbs::Rename && node) {
        tree.editItem(node);
        return;
    }
    if (command == OwnRenameCommand) return;
    const TShellFolder* entry = tree.selectedEntry();
    const std::string path = entry ? ParsingPath(*entry) : std::string();
    std::optional<TOpenDirectory> openDirectory;
    if (verb == verbs::Open) openDirectory.emplace(path);
    // A command that fails or is cancelled has been reported by the shell, if at all.
    if (InvokeShellCommand(shellMenu, command - FirstCommand, NativeWindowOf(&tree)) != S_OK)
        return;
    if (verb == verbs::Delete && engine::ProbeFolder(path).IsFolder) return;
    tree.completeVerb(verb);
}

} // namespace

void ShowShellTreeMenu(TShellTreeView& tree, TShellFolder& entry, const QPoint& at) {
    const HWND owner = NativeWindowOf(&tree);
    const TComPtr<IContextMenu> shellMenu =
        ContextMenuOf(ParentFolderObject(entry), entry.ItemId, owner);
    if (!shellMenu) return;
    const HMENU menu = CreatePopupMenu();
    const auto destroy = qScopeGuard([menu] { DestroyMenu(menu); });
    if (FAILED(shellMenu->QueryContextMenu(menu, 0, FirstCommand, LastCommand,
                                           CMF_EXPLORE | CMF_CANRENAME)))
        return;
    TShellFolderObject* parent = ParentFolderObject(entry);
    AddRenameWhenMissing(menu, shellMenu.get(),
                         parent && parent->attributesOf(entry.ItemId, TItemAttribute::CanRename));
    if (!tree.holdReason(ParsingPath(entry)).isEmpty()) GreyMovingCommands(menu, shellMenu.get());
    TShellMenuMessages& messages = TShellMenuMessages::instance();
    messages.setHandler(shellMenu.query<IContextMenu2>());
    const auto dropHandler = qScopeGuard([&messages] { messages.setHandler({}); });
    const QPoint native = (QPointF(at) * tree.devicePixelRatioF()).toPoint();
    const UINT command =
        ChooseCommand(menu, shellMenu.get(), tree.menuHooks().ChooseVerb, owner, native);
    messages.setHandler({}); // the menu has closed
    if (command != 0) RunShellCommand(tree, shellMenu.get(), command);
}
