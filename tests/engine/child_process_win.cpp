#include "tests/engine/child_process.h"

#include <cstdlib>

#include <windows.h>

#include "engine/platform/wide_win.h"

namespace test_child {

void SetEnvironment(const std::string& name, const std::string& value) {
    ::_putenv_s(name.c_str(), value.c_str());
}

TChildProcess::TChildProcess(const std::string& test, const TEnvironment& environment) {
    for (const auto& [name, value] : environment)
        ::SetEnvironmentVariableW(engine::platform::Wide(name).c_str(),
                                  engine::platform::Wide(value).c_str());
    wchar_t program[MAX_PATH];
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=" +
                           engine::platform::Wide(test) + L" --gtest_also_run_disabled_tests";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return;
    ::CloseHandle(process.hThread);
    m_id = reinterpret_cast<std::intptr_t>(process.hProcess);
}

TChildProcess::~TChildProcess() {
    Kill();
}

void TChildProcess::Kill() {
    if (m_id <= 0) return;
    const auto process = reinterpret_cast<HANDLE>(m_id);
    ::TerminateProcess(process, 9);
    ::WaitForSingleObject(process, INFINITE);
    ::CloseHandle(process);
    m_id = 0;
}

} // namespace test_child
