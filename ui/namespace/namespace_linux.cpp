#include "ui/namespace/namespace_linux.h"
#include "engine/folder_operations_linux.h"

#include <span>
#include <unordered_map>

#include <QFileIconProvider>
#include <QHash>

#include "ui/namespace/messages.h"

namespace {

// An item id's one step is a kind byte followed by the kind's payload.
enum TStepKind : char {
    skHome = 'h',
    skComputer = 'c',
    skNetwork = 'w',
    skTrash = 't',
    skFileSystem = 'r',
    skVolume = 'm', // payload: the mount's absolute path
    skFolder = 'n', // payload: the folder's name in its parent
};

TItemId Step(TStepKind kind, std::string_view payload = {}) {
    return char(kind) + std::string(payload);
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    return (folder == "/" ? folder : folder + "/") + std::string(name);
}

std::string LastComponent(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

QIcon FallbackIcon(const QString& name) {
    static const QFileIconProvider provider;
    if (name == u"computer") return provider.icon(QFileIconProvider::Computer);
    if (name == u"drive-harddisk") return provider.icon(QFileIconProvider::Drive);
    if (name == u"network-workgroup") return provider.icon(QFileIconProvider::Network);
    if (name == u"user-trash") return provider.icon(QFileIconProvider::Trashcan);
    return provider.icon(QFileIconProvider::Folder);
}

// Icons are shared: one QIcon per name for the whole process. The fallback is made only when
// the theme lacks the icon: the style's standard icons search the theme once more, at start-up.
QIcon ThemeIcon(const QString& name) {
    static QHash<QString, QIcon> cache;
    auto found = cache.find(name);
    if (found == cache.end()) {
        QIcon icon = QIcon::fromTheme(name);
        if (icon.isNull() || icon.availableSizes().isEmpty()) icon = FallbackIcon(name);
        found = cache.insert(name, icon);
    }
    return *found;
}

TItemAttributes FolderAttributes(bool hasSubFolders) {
    return hasSubFolders ? TItemAttribute::Folder | TItemAttribute::HasSubFolders
                         : TItemAttributes(TItemAttribute::Folder);
}

// A place that stays where it is (the desktop, home, a volume): things go in, it stays put.
constexpr TItemAttributes PlaceAttributes =
    TItemAttribute::CanCopy | TItemAttribute::HasPropertySheet | TItemAttribute::DropTarget;
// An ordinary folder: everything a file manager does with a folder.
constexpr TItemAttributes PlainFolderAttributes = PlaceAttributes | TItemAttribute::CanRename |
                                                  TItemAttribute::CanMove |
                                                  TItemAttribute::CanDelete;

using TPlaces = std::shared_ptr<const TNamespacePlaces>;

class TNamespaceFolder;

// What one kind of step is: the folder object it binds to in the folder `in` (none for a
// step that shows no folders), its name, its attributes and its theme icon.
struct TStepKindRow {
    TStepKind Kind;
    std::shared_ptr<TShellFolderObject> (*Bind)(const TNamespaceFolder& in,
                                                const std::string& payload);
    // Null for a kind whose names are fixed: ParsingName and Label.
    std::string (*Name)(const TNamespaceFolder& in, const std::string& payload, bool parsing);
    TItemAttributes (*Attributes)(const TNamespaceFolder& in, const std::string& payload);
    const char* Icon;
    const char* OpenIcon; // while its node is selected; null: the same
    const char* ParsingName = nullptr;
    std::string_view Label = {};
};

// A folder of the namespace. `m_path` is the file-system folder it shows, empty for a
// virtual one. Ids of several steps are answered by the folder that the first step reaches.
class TNamespaceFolder : public TShellFolderObject {
public:
    TNamespaceFolder(TPlaces places, std::string path)
        : m_places(std::move(places)), m_path(std::move(path)) {}

    std::optional<std::vector<TItemIdList>> enumFolders() override {
        if (m_path.empty()) return std::nullopt;
        std::vector<TItemIdList> ids;
        m_subFolderMarks.clear();
        for (auto& folder : m_places->ListSubFolders(m_path)) {
            ids.push_back({Step(skFolder, folder.Name)});
            m_subFolderMarks.emplace(std::move(folder.Name), folder.HasSubFolders);
        }
        return ids;
    }

    std::shared_ptr<TShellFolderObject> bindToObject(const TItemIdList& id) override {
        std::shared_ptr<TShellFolderObject> folder;
        for (const TItemId& step : id) {
            folder =
                folder ? static_cast<TNamespaceFolder&>(*folder).bindStep(step) : bindStep(step);
            if (!folder) return nullptr;
        }
        return folder;
    }

    std::string displayNameOf(const TItemIdList& id, TNameForm form) override {
        if (id.empty()) return ownName(form);
        if (id.size() == 1) return stepName(id.front(), form);
        const auto child = bindStep(id.front());
        return child ? child->displayNameOf(Tail(id), form) : std::string();
    }

    TItemAttributes attributesOf(const TItemIdList& id, TItemAttributes mask) override {
        if (id.empty()) return ownAttributes() & mask;
        if (id.size() == 1) return stepAttributes(id.front()) & mask;
        const auto child = bindStep(id.front());
        return child ? child->attributesOf(Tail(id), mask) : TItemAttributes();
    }

    int compareIds(const TItemIdList& a, const TItemIdList& b) override {
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
            if (const int order = CompareSteps(a[i], b[i]); order != 0) return order;
        return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    }

    QIcon iconOf(const TItemIdList& id, TIconForm form) override {
        if (id.empty()) return ownIcon();
        if (id.size() == 1) return stepIcon(id.front(), form);
        const auto child = bindStep(id.front());
        return child ? child->iconOf(Tail(id), form) : QIcon();
    }

    // Only a plain folder can be renamed, and never onto an existing entry.
    std::optional<TItemIdList> setNameOf(const TItemIdList& id,
                                         const std::string& newName) override {
        if (id.size() > 1) {
            const auto child = bindStep(id.front());
            return child ? child->setNameOf(Tail(id), newName) : std::nullopt;
        }
        if (id.size() != 1 || id.front().empty() || id.front()[0] != skFolder || m_path.empty())
            return std::nullopt;
        if (engine::RenameEntry(m_path, id.front().substr(1), newName) != 0) return std::nullopt;
        return TItemIdList{Step(skFolder, newName)};
    }

protected:
    virtual std::string ownName(TNameForm form) const {
        return form == TNameForm::ForParsing ? m_path : LastComponent(m_path);
    }
    virtual TItemAttributes ownAttributes() const {
        return FolderAttributes(engine::ProbeFolder(m_path).HasSubFolders) | PlaceAttributes;
    }
    virtual QIcon ownIcon() const { return ThemeIcon(QStringLiteral("folder")); }

    const TPlaces m_places;
    const std::string m_path;

private:
    static TItemIdList Tail(const TItemIdList& id) { return {id.begin() + 1, id.end()}; }
    static int CompareSteps(const TItemId& a, const TItemId& b);

    // One row a kind, in sort order: virtual items first, then volumes, then plain folders.
    static std::span<const TStepKindRow> StepKinds();
    static const TStepKindRow* KindOf(const TItemId& step);

    std::shared_ptr<TShellFolderObject> bindStep(const TItemId& step) const;
    std::string stepName(const TItemId& step, TNameForm form) const;
    TItemAttributes stepAttributes(const TItemId& step) const;
    QIcon stepIcon(const TItemId& step, TIconForm form) const;

    // Has-sub-folders marks of the last enumeration, so that filling the nodes of a large
    // folder costs no further look at the disk.
    std::unordered_map<std::string, bool> m_subFolderMarks;
};

class TDesktopFolder : public TNamespaceFolder {
public:
    explicit TDesktopFolder(TPlaces places) : TNamespaceFolder(places, places->DesktopPath) {}

    std::optional<std::vector<TItemIdList>> enumFolders() override {
        std::vector<TItemIdList> ids{
            {Step(skHome)}, {Step(skComputer)}, {Step(skNetwork)}, {Step(skTrash)}};
        if (auto folders = TNamespaceFolder::enumFolders())
            ids.insert(ids.end(), folders->begin(), folders->end());
        return ids;
    }

protected:
    std::string ownName(TNameForm form) const override {
        if (form != TNameForm::ForParsing) return std::string(messages::DesktopLabel);
        return m_path.empty() ? "::{desktop}" : m_path;
    }
    TItemAttributes ownAttributes() const override {
        return m_path.empty() ? FolderAttributes(true) : FolderAttributes(true) | PlaceAttributes;
    }
    QIcon ownIcon() const override { return ThemeIcon(QStringLiteral("user-desktop")); }
};

// A virtual folder whose children are mounts: 计算机 or 网络.
class TMountsFolder : public TNamespaceFolder {
public:
    TMountsFolder(TPlaces places, TStepKind kind) : TNamespaceFolder(places, {}), m_kind(kind) {}

    std::optional<std::vector<TItemIdList>> enumFolders() override {
        std::vector<TItemIdList> ids;
        if (m_kind == skComputer) ids.push_back({Step(skFileSystem)});
        const auto mounts =
            m_kind == skComputer ? UserVolumes(*m_places) : NetworkShares(*m_places);
        for (const std::string& path : mounts)
            ids.push_back({Step(skVolume, path)});
        return ids;
    }

private:
    const TStepKind m_kind;
};

int Sign(int value) {
    return (value > 0) - (value < 0);
}

std::span<const TStepKindRow> TNamespaceFolder::StepKinds() {
    using TIn = const TNamespaceFolder&;
    using TPayload = const std::string&;
    using TFolder = std::shared_ptr<TShellFolderObject>;
    static const TStepKindRow rows[] = {
        {skHome,
         [](TIn in, TPayload) -> TFolder {
             return std::make_shared<TNamespaceFolder>(in.m_places, in.m_places->HomePath);
         },
         [](TIn in, TPayload, bool parsing) -> std::string {
             return parsing ? in.m_places->HomePath : std::string(messages::HomeLabel);
         },
         [](TIn in, TPayload) {
             return FolderAttributes(engine::ProbeFolder(in.m_places->HomePath).HasSubFolders) |
                    PlaceAttributes;
         },
         "user-home", nullptr},
        {skComputer,
         [](TIn in, TPayload) -> TFolder {
             return std::make_shared<TMountsFolder>(in.m_places, skComputer);
         },
         nullptr, [](TIn, TPayload) { return FolderAttributes(true); }, "computer", nullptr,
         "::{computer}", messages::ComputerLabel},
        {skNetwork,
         [](TIn in, TPayload) -> TFolder {
             return std::make_shared<TMountsFolder>(in.m_places, skNetwork);
         },
         nullptr,
         [](TIn in, TPayload) { return FolderAttributes(!NetworkShares(*in.m_places).empty()); },
         "network-workgroup", nullptr, "::{network}", messages::NetworkLabel},
        {skTrash, [](TIn, TPayload) -> TFolder { return nullptr; }, // it shows no folders
         nullptr, [](TIn, TPayload) { return FolderAttributes(false); }, "user-trash", nullptr,
         "::{trash}", messages::TrashLabel},
        {skFileSystem,
         [](TIn in, TPayload) -> TFolder {
             return std::make_shared<TNamespaceFolder>(in.m_places, "/");
         },
         nullptr,
         // Its contents would take ages to add up: no properties.
         [](TIn, TPayload) { return FolderAttributes(true) | TItemAttribute::DropTarget; },
         "drive-harddisk", nullptr, "/", messages::FileSystemLabel},
        {skVolume,
         [](TIn in, TPayload payload) -> TFolder {
             return std::make_shared<TNamespaceFolder>(in.m_places, payload);
         },
         [](TIn, TPayload payload, bool parsing) -> std::string {
             return parsing ? payload : LastComponent(payload);
         },
         [](TIn, TPayload payload) {
             return FolderAttributes(engine::ProbeFolder(payload).HasSubFolders) |
                    TItemAttribute::DropTarget | TItemAttribute::HasPropertySheet;
         },
         "drive-harddisk", nullptr},
        {skFolder,
         [](TIn in, TPayload payload) -> TFolder {
             if (in.m_path.empty()) return nullptr;
             return std::make_shared<TNamespaceFolder>(in.m_places, JoinPath(in.m_path, payload));
         },
         [](TIn in, TPayload payload, bool parsing) -> std::string {
             return parsing ? JoinPath(in.m_path, payload) : payload;
         },
         [](TIn in, TPayload payload) -> TItemAttributes {
             if (in.m_path.empty()) return {};
             if (const auto mark = in.m_subFolderMarks.find(payload);
                 mark != in.m_subFolderMarks.end())
                 return FolderAttributes(mark->second) | PlainFolderAttributes;
             const auto probe = engine::ProbeFolder(JoinPath(in.m_path, payload));
             return probe.IsFolder ? FolderAttributes(probe.HasSubFolders) | PlainFolderAttributes
                                   : TItemAttributes();
         },
         "folder", "folder-open"},
    };
    return rows;
}

const TStepKindRow* TNamespaceFolder::KindOf(const TItemId& step) {
    for (const TStepKindRow& row : StepKinds())
        if (!step.empty() && row.Kind == step[0]) return &row;
    return nullptr;
}

// -1, 0 or 1: callers may look at the low bits of the answer only. Kinds the table lacks go
// last.
int TNamespaceFolder::CompareSteps(const TItemId& a, const TItemId& b) {
    if (a.empty() || b.empty()) return Sign(int(a.size()) - int(b.size()));
    const auto rank = [](const TStepKindRow* row) {
        return row ? int(row - StepKinds().data()) : int(StepKinds().size());
    };
    if (a[0] != b[0]) return Sign(rank(KindOf(a)) - rank(KindOf(b)));
    return Sign(
        engine::NaturalCompare(std::string_view(a).substr(1), std::string_view(b).substr(1)));
}

std::shared_ptr<TShellFolderObject> TNamespaceFolder::bindStep(const TItemId& step) const {
    const TStepKindRow* kind = KindOf(step);
    return kind ? kind->Bind(*this, step.substr(1)) : nullptr;
}

std::string TNamespaceFolder::stepName(const TItemId& step, TNameForm form) const {
    const TStepKindRow* kind = KindOf(step);
    if (!kind) return {};
    const bool parsing = form == TNameForm::ForParsing;
    if (!kind->Name) return parsing ? kind->ParsingName : std::string(kind->Label);
    return kind->Name(*this, step.substr(1), parsing);
}

TItemAttributes TNamespaceFolder::stepAttributes(const TItemId& step) const {
    const TStepKindRow* kind = KindOf(step);
    return kind ? kind->Attributes(*this, step.substr(1)) : TItemAttributes();
}

QIcon TNamespaceFolder::stepIcon(const TItemId& step, TIconForm form) const {
    const TStepKindRow* kind = KindOf(step);
    if (!kind) return {};
    const bool open = form == TIconForm::Open && kind->OpenIcon;
    return ThemeIcon(QString::fromLatin1(open ? kind->OpenIcon : kind->Icon));
}

// The steps below `folder` that lead to `path`; nullopt when `path` is not inside it.
std::optional<TItemIdList> StepsBelow(const std::string& folder, const std::string& path) {
    if (path == folder) return TItemIdList{};
    const std::string prefix = folder == "/" ? folder : folder + "/";
    if (folder.empty() || !path.starts_with(prefix)) return std::nullopt;
    TItemIdList steps;
    for (std::size_t at = prefix.size(); at < path.size();) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string_view name = std::string_view(path).substr(at, end - at);
        if (name == "." || name == "..") return std::nullopt;
        if (!name.empty()) steps.push_back(Step(skFolder, name));
        at = end + 1;
    }
    return steps;
}

} // namespace

TLinuxNamespace::TLinuxNamespace(TNamespacePlaces places)
    : m_places(std::make_shared<const TNamespacePlaces>(std::move(places))),
      m_desktop(std::make_shared<TDesktopFolder>(m_places)) {}

std::shared_ptr<TShellFolderObject> TLinuxNamespace::desktopFolder() {
    return m_desktop;
}

std::optional<TItemIdList> TLinuxNamespace::specialFolderLocation(std::string_view rootName) {
    if (rootName == "rfDesktop") return TItemIdList{};
    if (rootName == "rfPersonal") return TItemIdList{Step(skHome)};
    if (rootName == "rfMyComputer") return TItemIdList{Step(skComputer)};
    if (rootName == "rfNetwork") return TItemIdList{Step(skNetwork)};
    if (rootName == "rfRecycleBin") return TItemIdList{Step(skTrash)};
    return std::nullopt;
}

std::optional<TItemIdList> TLinuxNamespace::parseDisplayName(const std::string& path) {
    if (!path.starts_with('/') || !engine::ProbeFolder(path).IsFolder) return std::nullopt;
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (auto steps = StepsBelow(m_places->DesktopPath, folder)) return steps;
    if (auto steps = StepsBelow(m_places->HomePath, folder))
        return ConcatItemIds({Step(skHome)}, *steps);
    const auto steps = StepsBelow("/", folder);
    if (!steps) return std::nullopt;
    return ConcatItemIds({Step(skComputer), Step(skFileSystem)}, *steps);
}
