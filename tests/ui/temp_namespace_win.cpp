#include "tests/ui/temp_namespace.h"

#include "ui/namespace/namespace_win.h"

// The shell's namespace from the folder `desk` down; Windows' shell has no home item.
std::unique_ptr<TShellNamespace> MakeTempNamespace(const std::string& desk, const std::string&,
                                                   TListSubFolders) {
    return std::make_unique<TWindowsNamespace>(desk);
}

bool TempNamespaceHasLinuxPlaces() {
    return false;
}
