#include "ui/window/platform_window_win.h"
#include "ui/window/platform_window.h"

#include <cwchar>

#include <windows.h>

#include <shellapi.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "ui/namespace/wide_names_win.h"
#include "ui/window/command_line.h"
#include "ui/window/regional_settings_watch.h"

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

class TSettingMessages : public QAbstractNativeEventFilter {
public:
    explicit TSettingMessages(TRegionalSettingsWatch* watch)
        : m_watch(watch), m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {}

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const auto* msg = static_cast<const MSG*>(message);
        const auto* area = reinterpret_cast<const wchar_t*>(msg->lParam);
        const bool intl =
            msg->message == WM_SETTINGCHANGE && area && std::wcscmp(area, L"intl") == 0;
        if (intl || (m_taskbarCreated != 0 && msg->message == m_taskbarCreated))
            m_watch->announce();
        return false; // Qt and the other windows still see the message
    }

private:
    TRegionalSettingsWatch* m_watch;
    UINT m_taskbarCreated;
};

} // namespace

std::string ArgumentAsGiven(std::string argument) {
    if (argument.ends_with(":\"")) argument.back() = '\\';
    return argument;
}

std::vector<std::string> ArgumentsOfCommandLine(std::wstring_view commandLine) {
    std::vector<std::string> arguments;
    int count = 0;
    const std::wstring line(commandLine); // CommandLineToArgvW needs the terminating NUL
    LPWSTR* wide = CommandLineToArgvW(line.c_str(), &count);
    for (int i = 0; wide && i < count; ++i)
        arguments.push_back(ArgumentAsGiven(NameOfWide(wide[i])));
    LocalFree(wide);
    return arguments;
}

std::vector<std::string> ProgramArguments(int, char**) {
    if (!QCoreApplication::instance()) return ArgumentsOfCommandLine(GetCommandLineW());
    // Qt splits the wide command line by the same rules, and takes out its own options.
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments())
        arguments.push_back(ArgumentAsGiven(NameOfText(argument)));
    return arguments;
}

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

std::unique_ptr<QAbstractNativeEventFilter> WatchRegionalSettings(TRegionalSettingsWatch& watch) {
    auto filter = std::make_unique<TSettingMessages>(&watch);
    QCoreApplication::instance()->installNativeEventFilter(filter.get());
    return filter;
}

// Qt reads the Windows fonts through the system once the application object exists, and the
// window's pictures come from the shell: there is nothing to load ahead.
std::jthread StartReadingFontConfiguration() {
    return {};
}

std::jthread StartLoadingServices() {
    return {};
}
