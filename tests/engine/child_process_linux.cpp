#include "tests/engine/child_process.h"

#include <csignal>
#include <cstdlib>

#include <sys/wait.h>
#include <unistd.h>

namespace test_child {

void SetEnvironment(const std::string& name, const std::string& value) {
    value.empty() ? ::unsetenv(name.c_str()) : ::setenv(name.c_str(), value.c_str(), 1);
}

TChildProcess::TChildProcess(const std::string& test, const TEnvironment& environment) {
    const pid_t child = ::fork();
    if (child != 0) {
        m_id = child;
        return;
    }
    for (const auto& [name, value] : environment)
        ::setenv(name.c_str(), value.c_str(), 1);
    const std::string filter = "--gtest_filter=" + test;
    ::execl("/proc/self/exe", "engine_tests", filter.c_str(), "--gtest_also_run_disabled_tests",
            static_cast<char*>(nullptr));
    ::_exit(127);
}

TChildProcess::~TChildProcess() {
    Kill();
}

void TChildProcess::Kill() {
    if (m_id <= 0) return;
    ::kill(static_cast<pid_t>(m_id), SIGKILL);
    ::waitpid(static_cast<pid_t>(m_id), nullptr, 0);
    m_id = 0;
}

} // namespace test_child
