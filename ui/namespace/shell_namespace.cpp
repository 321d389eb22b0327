#include "ui/namespace/shell_namespace.h"

#include "engine/engine.h"
#include "ui/namespace/messages.h"

namespace {

std::unique_ptr<TShellNamespace> g_shellNamespace;
std::unique_ptr<TShellFolder> g_desktopEntry;

} // namespace

TItemIdList ConcatItemIds(const TItemIdList& first, const TItemIdList& second) {
    TItemIdList joined = first;
    joined.insert(joined.end(), second.begin(), second.end());
    return joined;
}

TShellFolderObject* ParentFolderObject(const TShellFolder& entry) {
    const TShellFolder* parent = entry.ParentEntry ? entry.ParentEntry : &DesktopEntry();
    return parent->FolderObject.get();
}

std::string ShellDisplayName(TShellFolderObject* folder, const TItemIdList& id, TNameForm form) {
    if (!folder) return std::string(messages::NoParentFolder);
    std::string name = folder->displayNameOf(id, form);
    if (name.size() > 1 && name[0] == '?' && name[1] >= '0' && name[1] <= '9')
        std::erase(name, '?');
    // A virtual item has no path: its own name stands in.
    if (name.starts_with("::{") && form != TNameForm::Normal)
        return ShellDisplayName(folder, id, TNameForm::Normal);
    return name;
}

TItemIdList FullIdOf(const TShellFolder& entry) {
    const TItemIdList parentId = entry.ParentEntry ? entry.ParentEntry->FullItemId : TItemIdList{};
    return ConcatItemIds(parentId, entry.ItemId);
}

std::string ParsingPath(const TShellFolder& entry) {
    return ShellDisplayName(DesktopEntry().FolderObject.get(), entry.FullItemId,
                            TNameForm::ForParsing);
}

void InitializeShellNamespace(std::unique_ptr<TShellNamespace> shellNamespace) {
    Q_ASSERT(!g_shellNamespace);
    auto desktop = shellNamespace->desktopFolder();
    if (!desktop) throw engine::TError(std::string(messages::NoDesktopFolder));
    g_desktopEntry = std::make_unique<TShellFolder>();
    g_desktopEntry->FolderObject = std::move(desktop);
    g_shellNamespace = std::move(shellNamespace);
}

void FinalizeShellNamespace() {
    g_desktopEntry.reset();
    g_shellNamespace.reset();
}

TShellNamespace& ShellNamespace() {
    Q_ASSERT(g_shellNamespace);
    return *g_shellNamespace;
}

const TShellFolder& DesktopEntry() {
    Q_ASSERT(g_desktopEntry);
    return *g_desktopEntry;
}
