#include "ui/namespace/namespace_win.h"

#include <string_view>

#include <QApplication>
#include <QWidget>

#include "engine/engine.h"

namespace {

constexpr SHCONTF FoldersOnly = SHCONTF_FOLDERS; // hidden folders are never asked for
constexpr SFGAOF InMaskShare = 0xF0000;
// The system image list's overlay image 0, its sharing mark, is overlay number 1.
constexpr int SharingOverlay = 1;
constexpr SFGAOF InMaskAbilities = 0x177; // copy, move, link, rename, delete, sheet, drop

struct TAttributeBit {
    TItemAttribute Attribute;
    SFGAOF Native;
    SFGAOF InMask; // what the shell is asked for to learn it
};
constexpr TAttributeBit AttributeBits[] = {
    {TItemAttribute::Folder, SFGAO_FOLDER, SFGAO_FOLDER},
    {TItemAttribute::HasSubFolders, SFGAO_HASSUBFOLDER, SFGAO_HASSUBFOLDER},
    {TItemAttribute::Share, SFGAO_SHARE, InMaskShare},
    {TItemAttribute::CanRename, SFGAO_CANRENAME, InMaskAbilities},
    {TItemAttribute::CanCopy, SFGAO_CANCOPY, InMaskAbilities},
    {TItemAttribute::CanMove, SFGAO_CANMOVE, InMaskAbilities},
    {TItemAttribute::CanDelete, SFGAO_CANDELETE, InMaskAbilities},
    {TItemAttribute::HasPropertySheet, SFGAO_HASPROPSHEET, InMaskAbilities},
    {TItemAttribute::DropTarget, SFGAO_DROPTARGET, InMaskAbilities},
};

// The application's window, owner of what the shell shows while it enumerates.
HWND OwnerWindow() {
    return NativeWindowOf(QApplication::activeWindow());
}

class TWindowsFolder : public TShellFolderObject,
                       public std::enable_shared_from_this<TWindowsFolder> {
public:
    // `absolute`: the folder's id from the shell's desktop, for the calls that want one.
    TWindowsFolder(TComPtr<IShellFolder> folder, TItemIdList absolute)
        : m_folder(std::move(folder)), m_absolute(std::move(absolute)) {}

    IShellFolder* native() const { return m_folder.get(); }

    std::optional<std::vector<TItemIdList>> enumFolders() override;
    std::shared_ptr<TShellFolderObject> bindToObject(const TItemIdList& id) override;
    std::string displayNameOf(const TItemIdList& id, TNameForm form) override;
    TItemAttributes attributesOf(const TItemIdList& id, TItemAttributes mask) override;
    int compareIds(const TItemIdList& a, const TItemIdList& b) override;
    QIcon iconOf(const TItemIdList& id, TIconForm form) override;
    std::optional<TItemIdList> setNameOf(const TItemIdList& id,
                                         const std::string& newName) override;

private:
    // The folder that holds the item of `id`, and the item's one step in it: this folder for
    // one step, else the shell's own parent of the item (for the empty id too).
    struct TParent {
        TComPtr<IShellFolder> Folder;
        TPidl Step;
    };
    TParent parentOf(const TItemIdList& id) const;
    TComPtr<IShellFolder> childFolder(LPCITEMIDLIST pidl) const;

    TComPtr<IShellFolder> m_folder;
    TItemIdList m_absolute;
};

std::optional<std::vector<TItemIdList>> TWindowsFolder::enumFolders() {
    TComPtr<IEnumIDList> items;
    if (m_folder->EnumObjects(OwnerWindow(), FoldersOnly, items.put()) != S_OK || !items)
        return std::nullopt;
    std::vector<TItemIdList> ids;
    for (;;) {
        TPidl item;
        ULONG fetched = 0;
        if (items->Next(1, item.put(), &fetched) != S_OK || fetched != 1) break;
        ids.push_back(SplitPidl(item.get()));
    }
    return ids;
}

// BindToObject first; then GetUIObjectOf and CreateViewObject, the later answer counting.
TComPtr<IShellFolder> TWindowsFolder::childFolder(LPCITEMIDLIST pidl) const {
    TComPtr<IShellFolder> child;
    if (m_folder->BindToObject(pidl, nullptr, IID_IShellFolder, child.putVoid()) == S_OK && child)
        return child;
    m_folder->GetUIObjectOf(nullptr, 1, &pidl, IID_IShellFolder, nullptr, child.putVoid());
    m_folder->CreateViewObject(nullptr, IID_IShellFolder, child.putVoid());
    return child;
}

std::shared_ptr<TShellFolderObject> TWindowsFolder::bindToObject(const TItemIdList& id) {
    if (id.empty()) return shared_from_this();
    const TPidl pidl = MakePidl(id);
    TComPtr<IShellFolder> child = childFolder(pidl.get());
    if (!child) return nullptr;
    return std::make_shared<TWindowsFolder>(std::move(child), ConcatItemIds(m_absolute, id));
}

TWindowsFolder::TParent TWindowsFolder::parentOf(const TItemIdList& id) const {
    TParent parent;
    if (id.size() == 1) {
        parent.Folder = m_folder;
        parent.Step = MakePidl(id);
        return parent;
    }
    const TPidl absolute = MakePidl(ConcatItemIds(m_absolute, id));
    LPCITEMIDLIST last = nullptr;
    if (FAILED(SHBindToParent(absolute.get(), IID_IShellFolder, parent.Folder.putVoid(), &last)))
        return {};
    parent.Step = MakePidl(last ? SplitPidl(last) : TItemIdList{});
    return parent;
}

std::string TWindowsFolder::displayNameOf(const TItemIdList& id, TNameForm form) {
    static constexpr SHGDNF Flags[] = {SHGDN_NORMAL, SHGDN_INFOLDER, SHGDN_FORPARSING};
    TParent parent = parentOf(id);
    if (!parent.Folder) return {};
    STRRET name;
    ZeroMemory(&name, sizeof name);
    parent.Folder->GetDisplayNameOf(parent.Step.get(), Flags[int(form)], &name);
    return StrRetText(name, parent.Step.get());
}

TItemAttributes TWindowsFolder::attributesOf(const TItemIdList& id, TItemAttributes mask) {
    SFGAOF native = 0;
    for (const TAttributeBit& bit : AttributeBits)
        if (mask.testFlag(bit.Attribute)) native |= bit.InMask;
    TParent parent = parentOf(id);
    LPCITEMIDLIST step = parent.Step.get();
    if (!native || !parent.Folder || FAILED(parent.Folder->GetAttributesOf(1, &step, &native)))
        return {};
    TItemAttributes attributes;
    for (const TAttributeBit& bit : AttributeBits)
        if ((native & bit.Native) && mask.testFlag(bit.Attribute)) attributes |= bit.Attribute;
    return attributes;
}

// The low 16 bits of CompareIDs' answer, signed, give the order.
int TWindowsFolder::compareIds(const TItemIdList& a, const TItemIdList& b) {
    const TPidl first = MakePidl(a);
    const TPidl second = MakePidl(b);
    const HRESULT answer = m_folder->CompareIDs(0, first.get(), second.get());
    return static_cast<short>(HRESULT_CODE(answer));
}

QIcon TWindowsFolder::iconOf(const TItemIdList& id, TIconForm form) {
    const TPidl absolute = MakePidl(ConcatItemIds(m_absolute, id));
    SHFILEINFOW info{};
    UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    if (form == TIconForm::Open) flags |= SHGFI_OPENICON;
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolute.get()), 0, &info, sizeof info, flags))
        return {};
    const bool shared = attributesOf(id, TItemAttribute::Share) != 0;
    return SystemSmallIcon(info.iIcon, shared ? SharingOverlay : 0);
}

// A name Windows would read as a path or change is refused before the shell sees it: some
// shells move the folder elsewhere for a name holding a separator.
bool IsPlainName(const std::wstring& name) {
    if (name.empty() || name.back() == L' ' || name.back() == L'.') return false; // ".." too
    for (const wchar_t c : name)
        if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            return false;
    return true;
}

std::optional<TItemIdList> TWindowsFolder::setNameOf(const TItemIdList& id,
                                                     const std::string& newName) {
    const std::wstring name = WideText(newName);
    TParent parent = parentOf(id);
    if (!parent.Folder || !IsPlainName(name)) return std::nullopt;
    TPidl renamed;
    if (parent.Folder->SetNameOf(nullptr, parent.Step.get(), name.c_str(), SHGDN_NORMAL,
                                 renamed.put()) != S_OK ||
        !renamed.get())
        return std::nullopt;
    return SplitPidl(renamed.get());
}

} // namespace

HWND NativeWindowOf(const QWidget* widget) {
    return widget && QApplication::platformName() == u"windows"
               ? reinterpret_cast<HWND>(widget->window()->winId())
               : nullptr;
}

TWindowsNamespace::TWindowsNamespace(std::string desktopPath)
    : m_desktopPath(std::move(desktopPath)) {}

std::shared_ptr<TShellFolderObject> TWindowsNamespace::desktopFolder() {
    if (m_desktop) return m_desktop;
    TComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return nullptr;
    TItemIdList base;
    if (!m_desktopPath.empty()) {
        const std::wstring path = WideText(m_desktopPath);
        TPidl pidl;
        if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>(path.c_str()),
                                             nullptr, pidl.put(), nullptr)))
            return nullptr;
        base = SplitPidl(pidl.get());
        TComPtr<IShellFolder> folder;
        if (FAILED(desktop->BindToObject(pidl.get(), nullptr, IID_IShellFolder, folder.putVoid())))
            return nullptr;
        desktop = std::move(folder);
    }
    m_desktop = std::make_shared<TWindowsFolder>(std::move(desktop), std::move(base));
    return m_desktop;
}

namespace {

struct TRootFolder {
    std::string_view Name;
    int SpecialFolder;
};
constexpr TRootFolder RootFolders[] = {
    {"rfDesktop", CSIDL_DESKTOP},     {"rfMyComputer", CSIDL_DRIVES},
    {"rfNetwork", CSIDL_NETWORK},     {"rfRecycleBin", CSIDL_BITBUCKET},
    {"rfPersonal", CSIDL_PERSONAL},   {"rfControlPanel", CSIDL_CONTROLS},
    {"rfPrinters", CSIDL_PRINTERS},   {"rfFavorites", CSIDL_FAVORITES},
    {"rfStartMenu", CSIDL_STARTMENU}, {"rfPrograms", CSIDL_PROGRAMS},
    {"rfTemplates", CSIDL_TEMPLATES}, {"rfAppData", CSIDL_APPDATA},
    {"rfFonts", CSIDL_FONTS},         {"rfCommonDesktopDirectory", CSIDL_COMMON_DESKTOPDIRECTORY},
};

std::wstring NativePath(const std::string& path) {
    std::wstring wide = WideText(path);
    for (wchar_t& c : wide)
        if (c == L'/') c = L'\\';
    return wide;
}

// The id of `path` below `folder`; nullopt when the shell knows no such item.
std::optional<TItemIdList> ParseBelow(IShellFolder* folder, std::wstring path) {
    TPidl pidl;
    if (FAILED(folder->ParseDisplayName(nullptr, nullptr, path.data(), nullptr, pidl.put(),
                                        nullptr)) ||
        !pidl.get())
        return std::nullopt;
    return SplitPidl(pidl.get());
}

} // namespace

std::optional<TItemIdList> TWindowsNamespace::specialFolderLocation(std::string_view rootName) {
    if (!m_desktopPath.empty()) // a desktop of its own has no special folders below it
        return rootName == "rfDesktop" ? std::optional(TItemIdList{}) : std::nullopt;
    for (const TRootFolder& root : RootFolders) {
        if (root.Name != rootName) continue;
        TPidl pidl;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, root.SpecialFolder, pidl.put())))
            return std::nullopt;
        return SplitPidl(pidl.get());
    }
    return std::nullopt;
}

// Only folders: a file's path gives nothing. A desktop of its own parses the paths below it.
std::optional<TItemIdList> TWindowsNamespace::parseDisplayName(const std::string& path) {
    const auto desktop = desktopFolder();
    IShellFolder* folder = desktop ? NativeFolder(desktop.get()).get() : nullptr;
    if (!folder || path.empty()) return std::nullopt;
    std::wstring wide = NativePath(path);
    if (!m_desktopPath.empty()) {
        std::wstring base = NativePath(m_desktopPath);
        while (base.ends_with(L'\\'))
            base.pop_back();
        if (_wcsnicmp(wide.c_str(), base.c_str(), base.size()) != 0) return std::nullopt;
        wide.erase(0, base.size());
        while (wide.starts_with(L'\\'))
            wide.erase(0, 1);
        if (wide.empty()) return TItemIdList{};
    }
    std::optional<TItemIdList> id = ParseBelow(folder, wide);
    if (!id || !desktop->attributesOf(*id, TItemAttribute::Folder)) return std::nullopt;
    return id;
}

TComPtr<IShellFolder> NativeFolder(TShellFolderObject* folder) {
    const auto* windowsFolder = dynamic_cast<TWindowsFolder*>(folder);
    return TComPtr<IShellFolder>::share(windowsFolder ? windowsFolder->native() : nullptr);
}

TComPtr<IContextMenu> ContextMenuOf(TShellFolderObject* folder, const TItemIdList& id, HWND owner) {
    TComPtr<IContextMenu> menu;
    TComPtr<IShellFolder> native = NativeFolder(folder);
    if (!native || id.size() > 1) return menu; // the top node's item may be the folder itself
    const TPidl step = MakePidl(id);
    LPCITEMIDLIST item = step.get();
    if (native->GetUIObjectOf(owner, 1, &item, IID_IContextMenu, nullptr, menu.putVoid()) != S_OK)
        return {};
    return menu;
}
