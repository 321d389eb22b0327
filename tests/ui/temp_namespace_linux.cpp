#include "engine/folder_operations_linux.h"
#include "tests/ui/temp_namespace.h"

#include "ui/namespace/namespace_linux.h"

std::unique_ptr<TShellNamespace> MakeTempNamespace(const std::string& desk, const std::string& home,
                                                   TListSubFolders listSubFolders) {
    TNamespacePlaces places;
    places.DesktopPath = desk;
    places.HomePath = home;
    places.Mounts = [] { return std::vector<TMount>{}; };
    if (listSubFolders) places.ListSubFolders = std::move(listSubFolders);
    return std::make_unique<TLinuxNamespace>(std::move(places));
}

bool TempNamespaceHasLinuxPlaces() {
    return true;
}
