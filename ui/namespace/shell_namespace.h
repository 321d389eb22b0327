#pragma once
// The namespace the folder tree shows: folders reached from the desktop through item ids that
// only the namespace reads. The tree talks to nothing else, so the namespace can be swapped.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QFlags>
#include <QIcon>

// One step from a folder to one of its items.
using TItemId = std::string;
// Steps from a folder down to an item: relative (one step below a folder) or full (from the
// desktop). Empty: the folder itself.
using TItemIdList = std::vector<TItemId>;

TItemIdList ConcatItemIds(const TItemIdList& first, const TItemIdList& second);

enum class TNameForm {
    Normal,     // the item's own name, e.g. a label that stands alone
    InFolder,   // the name inside its folder: a node's label
    ForParsing, // a file-system folder's absolute path; "::{…}" for a virtual item
};

enum class TIconForm { Normal, Open };

enum class TItemAttribute : unsigned {
    Folder = 0x1,
    HasSubFolders = 0x2, // may be a guess: the first enumeration decides
    Share = 0x4,
    CanRename = 0x8,
    CanCopy = 0x10,
    CanMove = 0x20,
    CanDelete = 0x40,
    HasPropertySheet = 0x80,
    DropTarget = 0x100, // things can be pasted and folders made inside
};
Q_DECLARE_FLAGS(TItemAttributes, TItemAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TItemAttributes)

// One folder of the namespace. Ids passed in are relative to this folder; a list of several
// steps reaches further down, so the desktop's folder answers for full ids.
class TShellFolderObject {
public:
    virtual ~TShellFolderObject() = default;

    // Relative ids of the child folders, hidden ones left out, in no particular order;
    // nullopt when the folder can't be enumerated.
    virtual std::optional<std::vector<TItemIdList>> enumFolders() = 0;
    // The folder object of an item; null when the item is no folder or can't be reached.
    virtual std::shared_ptr<TShellFolderObject> bindToObject(const TItemIdList& id) = 0;
    // Raw bytes: UTF-8 for virtual items, the name bytes as on disk for file-system folders.
    // Empty when the item is unknown.
    virtual std::string displayNameOf(const TItemIdList& id, TNameForm form) = 0;
    virtual TItemAttributes attributesOf(const TItemIdList& id, TItemAttributes mask) = 0;
    // Sibling order: negative, zero or positive; zero exactly when both ids name one item.
    virtual int compareIds(const TItemIdList& a, const TItemIdList& b) = 0;
    virtual QIcon iconOf(const TItemIdList& id, TIconForm form) = 0;
    // Gives the item `newName` without replacing anything; the item's new relative id, or
    // nullopt when the namespace refused.
    virtual std::optional<TItemIdList> setNameOf(const TItemIdList& id,
                                                 const std::string& newName) = 0;
};

class TShellNamespace {
public:
    virtual ~TShellNamespace() = default;

    // The top of the namespace; every full id starts here.
    virtual std::shared_ptr<TShellFolderObject> desktopFolder() = 0;
    // The full id of a named root ("rfDesktop" gives the empty list); nullopt when unknown.
    virtual std::optional<TItemIdList> specialFolderLocation(std::string_view rootName) = 0;
    // The full id of the folder at an absolute path; nullopt when there is none.
    virtual std::optional<TItemIdList> parseDisplayName(const std::string& path) = 0;
};

// One namespace item as a tree node holds it.
struct TShellFolder {
    const TShellFolder* ParentEntry = nullptr; // not owned; DesktopEntry() when made without one
    TItemIdList ItemId;                        // relative to the parent's folder
    TItemIdList FullItemId;                    // from the desktop
    std::shared_ptr<TShellFolderObject> FolderObject; // may be null: such a node has no children
};

// The folder where an entry's name and attributes are asked: its parent's, else the desktop's.
TShellFolderObject* ParentFolderObject(const TShellFolder& entry);
// The name `folder` gives `id`, as a node's label shows it: with the "?"-digit and "::{" rules.
std::string ShellDisplayName(TShellFolderObject* folder, const TItemIdList& id, TNameForm form);
// The entry's full id, made again from its parent's and its own.
TItemIdList FullIdOf(const TShellFolder& entry);
// The entry's absolute path (raw bytes), or a virtual item's display name.
std::string ParsingPath(const TShellFolder& entry);

// The process-wide namespace and its desktop entry, made before any window and freed after
// the last one. Initialising throws engine::TError when the namespace has no desktop folder.
void InitializeShellNamespace(std::unique_ptr<TShellNamespace> shellNamespace);
void FinalizeShellNamespace();
TShellNamespace& ShellNamespace();
const TShellFolder& DesktopEntry();

// The namespace of the user running the program: the shell's on Windows, our own on Linux.
std::unique_ptr<TShellNamespace> CreateUserNamespace();

// The platform's object services that the namespace and its menu need (OLE on Windows):
// started before the namespace is initialised, stopped after it is finalised.
void StartShellServices();
void StopShellServices();

// Starts the services and initialises the process-wide namespace for the lifetime of a scope.
class TShellNamespaceScope {
public:
    explicit TShellNamespaceScope(std::unique_ptr<TShellNamespace> shellNamespace) {
        StartShellServices();
        InitializeShellNamespace(std::move(shellNamespace));
    }
    ~TShellNamespaceScope() {
        FinalizeShellNamespace();
        StopShellServices();
    }
    TShellNamespaceScope(const TShellNamespaceScope&) = delete;
    TShellNamespaceScope& operator=(const TShellNamespaceScope&) = delete;
};
