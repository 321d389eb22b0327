#include "engine/engine.h"
#include "ui/namespace/linux_namespace.h"
#include "ui/window/Umain.h"
#include "ui/window/application.h"
#include "ui/window/regional_settings.h"

int main(int argc, char* argv[]) {
    TApplication app(argc, argv);
    // The namespace and the regional settings exist before any window.
    const TShellNamespaceScope shellNamespace(CreateUserNamespace());
    TFrmMain FrmMain(ReadRegionalSettings());
    FrmMain.show();
    return TApplication::exec();
}
