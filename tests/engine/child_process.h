#pragma once
// This test program started again as a child that runs one test, so a test can kill it at a
// moment of its choosing: a crash as the system would make it.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace test_child {

using TEnvironment = std::vector<std::pair<std::string, std::string>>;

// Sets `name` to `value` (empty: removes it) in this process's environment, as the C runtime
// reads it.
void SetEnvironment(const std::string& name, const std::string& value);

class TChildProcess {
public:
    // Starts the child running only `test` ("Suite.DISABLED_Name"), with `environment` added.
    TChildProcess(const std::string& test, const TEnvironment& environment);
    // Kills the child if it still runs.
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    bool Started() const { return m_id > 0; }
    // Ends the child at once (SIGKILL, TerminateProcess) and waits until it is gone.
    void Kill();

private:
    std::intptr_t m_id = 0; // pid, or the process handle
};

// Waits until the child made `path`, for at most three minutes; false if it never did.
inline bool WaitForFile(const std::string& path) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    const std::filesystem::path at(std::u8string(path.begin(), path.end()));
    while (!std::filesystem::exists(at) && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return std::filesystem::exists(at);
}

} // namespace test_child
