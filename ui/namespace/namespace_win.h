#pragma once
// The Windows shell's own namespace: folder objects are IShellFolders, item ids are the
// shell's item identifier lists, icons come from the system image list.

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

#include <shlobj.h>

#include <QWidget>

#include "ui/namespace/shell_ids_win.h"
#include "ui/namespace/shell_namespace.h"

class TWindowsNamespace : public TShellNamespace {
public:
    // The namespace from the shell's desktop down; with `desktopPath`, from the file-system
    // folder at that path down instead (for tests: a desktop of their own). Asks the shell for
    // nothing before desktopFolder().
    explicit TWindowsNamespace(std::string desktopPath = {});

    std::shared_ptr<TShellFolderObject> desktopFolder() override;
    std::optional<TItemIdList> specialFolderLocation(std::string_view rootName) override;
    std::optional<TItemIdList> parseDisplayName(const std::string& path) override;

private:
    const std::string m_desktopPath;
    std::shared_ptr<TShellFolderObject> m_desktop;
};

// The native window of `widget`'s window, owner of what the shell shows for it; none where Qt
// runs on another platform plugin (offscreen tests).
HWND NativeWindowOf(const QWidget* widget);

// The shell's IShellFolder behind a folder object of this namespace; none for other ones.
TComPtr<IShellFolder> NativeFolder(TShellFolderObject* folder);

// The shell's context menu of item `id` of `folder` (GetUIObjectOf with IID_IContextMenu for
// one item); none when the shell gives none.
TComPtr<IContextMenu> ContextMenuOf(TShellFolderObject* folder, const TItemIdList& id, HWND owner);

// The verb of a command of `menu` (GetCommandString, GCS_VERBW), `offset` counted from the
// first command id; empty for a command without one.
QString CommandVerb(IContextMenu* menu, UINT offset);

// The system's small-icon image list (SHGetFileInfo of "C:\" with SHGFI_SYSICONINDEX |
// SHGFI_SMALLICON), asked once; it belongs to the system.
HIMAGELIST SystemSmallImages();
// The icon at `index` of the system's small-icon image list with its overlay number `overlay`
// drawn over it (0: none; 1: the sharing mark), made once per pair.
QIcon SystemSmallIcon(int index, int overlay = 0);
