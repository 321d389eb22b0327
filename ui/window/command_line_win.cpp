#include "ui/window/command_line.h"

#include <windows.h>

namespace {

// The console's own output: a window program's standard handles lead nowhere.
void WriteToConsole(const QString& text) {
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) return;
    const std::wstring wide = text.toStdWString();
    DWORD written = 0;
    WriteConsoleW(console, wide.c_str(), DWORD(wide.size()), &written, nullptr);
    CloseHandle(console);
}

} // namespace

// A window program gets no console of its own. Started from one, it writes there; started from
// Explorer or a shortcut, the text shows in a message box captioned like every other one.
int ReportCommandLine(const TCommandLine& commandLine) {
    const int exitCode = commandLine.ExitCode.value_or(0);
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        WriteToConsole(commandLine.Output + commandLine.ErrorOutput);
        FreeConsole();
        return exitCode;
    }
    const std::wstring text =
        (commandLine.Output + commandLine.ErrorOutput).trimmed().toStdWString();
    MessageBoxW(nullptr, text.c_str(), L"Zelvora",
                MB_OK | (exitCode == 0 ? MB_ICONINFORMATION : MB_ICONERROR));
    return exitCode;
}
