#include "engine/engine.h"
#include "ui/namespace/shell_namespace.h"
#include "ui/widgets/platform_widgets.h"
#include "ui/window/Umain.h"
#include "ui/window/application.h"
#include "ui/window/command_line.h"
#include "ui/window/first_paint.h"
#include "ui/window/platform_window.h"
#include "ui/window/regional_settings.h"

int main(int argc, char* argv[]) {
    // Help and version are answered before the application object, which needs a display.
    const TCommandLine early = ParseCommandLine(ProgramArguments(argc, argv), {});
    if (early.ExitCode == 0) return ReportCommandLine(early);
    // What the first paint needs, read on the second core while the main thread builds.
    std::jthread fontConfiguration = StartReadingFontConfiguration();
    TApplication app(argc, argv); // takes Qt's own options out of argv
    WaitUntilDone(fontConfiguration);
    const std::jthread services = StartLoadingServices();
    const TCommandLine commandLine =
        ParseCommandLine(ProgramArguments(argc, argv), engine::CurrentFolderPath());
    if (commandLine.ExitCode) return ReportCommandLine(commandLine);
    StartReadingIconTheme(); // the window's image list waits for it before its first icon
    // The namespace and the regional settings exist before any window.
    const TShellNamespaceScope shellNamespace(CreateUserNamespace());
    TFrmMain FrmMain(ReadRegionalSettings());
    OpenStartFolder(FrmMain, commandLine.StartFolder);
    ReportFirstPaint(&FrmMain);
    FrmMain.show();
    return TApplication::exec();
}
