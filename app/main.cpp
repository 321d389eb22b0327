#include "engine/engine.h"
#include "ui/Umain.h"
#include "ui/application.h"
#include "ui/linux_namespace.h"

int main(int argc, char* argv[]) {
    TApplication app(argc, argv);
    // The namespace and the regional settings exist before any window.
    const TShellNamespaceScope shellNamespace(CreateUserNamespace());
    TFrmMain FrmMain(engine::ReadRegionalSettings());
    FrmMain.show();
    return TApplication::exec();
}
