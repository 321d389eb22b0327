// Start-up of the real program, from exec until its window has painted for the first time,
// against a bare Qt Widgets window of the same size (zelvora-bench-bare-window), both under a
// fresh Xvfb. Each program reports its first paint by writing a byte to the descriptor named
// by PaintedFdVariable (ui/window/first_paint.h).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/bench.h"
#include "engine/engine.h"
#include "ui/window/first_paint.h"

extern char** environ;

namespace {

constexpr int Rounds = 21;
constexpr int DesktopEntries = 200;
constexpr int JournalledBatches = 20; // as many journals as the program keeps
constexpr int BatchEntries = 500;
constexpr int PaintTimeoutMilliseconds = 30000;

std::string ProgramFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts `argv` with `environment` (empty: this program's own), its output thrown away; throws
// when it can't.
pid_t Spawn(std::vector<std::string> argv, std::vector<std::string> environment) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    std::vector<char*> variables = Pointers(environment);
    const int error =
        ::posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, Pointers(argv).data(),
                       environment.empty() ? environ : variables.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

void Stop(pid_t& pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    pid = 0;
}

// Reads one byte from `fd` within `timeout`; false on end of file or time out.
bool ReadByte(int fd, int timeoutMilliseconds) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, timeoutMilliseconds) != 1) return false;
    char byte = 0;
    return ::read(fd, &byte, 1) == 1;
}

// A display of its own: Xvfb picks a free number and writes it to -displayfd.
class TXvfb {
public:
    TXvfb() {
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        ::fcntl(pipeFds[1], F_SETFD, 0); // Xvfb writes the number to it
        m_pid = Spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                       "1280x1024x24", "-nolisten", "tcp"},
                      {});
        ::close(pipeFds[1]);
        std::string number;
        char c = 0;
        pollfd ready{pipeFds[0], POLLIN, 0};
        while (::poll(&ready, 1, 10000) == 1 && ::read(pipeFds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(pipeFds[0]);
        if (number.empty()) {
            Stop(m_pid);
            throw std::runtime_error("Xvfb did not start");
        }
        m_display = ":" + number;
    }
    ~TXvfb() { Stop(m_pid); }
    const std::string& display() const { return m_display; }

private:
    pid_t m_pid = 0;
    std::string m_display;
};

// A home as a user's looks after some weeks of use: a desktop of DesktopEntries entries and
// a full journal folder.
class TBenchHome {
public:
    TBenchHome() {
        m_root = bench::MakeBenchFolder(0);
        const std::string desktop = bench::MakeBenchFolder(DesktopEntries, m_root);
        std::filesystem::rename(desktop, m_root + "/Desktop");
        const std::string work = bench::MakeBenchFolder(BatchEntries, m_root);
        engine::TBatchControl control;
        control.JournalFolder = m_root + "/.local/state/zelvora";
        std::filesystem::create_directories(control.JournalFolder);
        for (int batch = 0; batch < JournalledBatches; ++batch) {
            engine::TFolderListing listing;
            engine::ListFolder(listing, work, engine::TFormatSettings{});
            engine::TRenameSettings settings;
            settings.LeadText = "B" + std::to_string(batch) + "-";
            settings.Mode = engine::TRenameMode::rmReplace;
            engine::ApplyRenames(listing, settings, control);
        }
    }
    ~TBenchHome() { bench::RemoveTree(m_root); }
    const std::string& path() const { return m_root; }

private:
    std::string m_root;
};

// The parent's environment with the display, the home and the paint report replaced.
std::vector<std::string> ChildEnvironment(const std::string& display, const std::string& home,
                                          int paintedFd) {
    static const std::vector<std::string> replaced = {
        "DISPLAY=",        "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=",
        "HOME=",           "XDG_CONFIG_HOME=", "XDG_DATA_HOME=",
        "XDG_STATE_HOME=", "XDG_CACHE_HOME=",  std::string(PaintedFdVariable) + "="};
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        const std::string text = *variable;
        bool keep = true;
        for (const std::string& prefix : replaced)
            keep = keep && !text.starts_with(prefix);
        if (keep) environment.push_back(text);
    }
    environment.push_back("DISPLAY=" + display);
    environment.push_back("QT_QPA_PLATFORM=xcb");
    environment.push_back("HOME=" + home);
    environment.push_back(std::string(PaintedFdVariable) + "=" + std::to_string(paintedFd));
    return environment;
}

// One program started and left running after its first paint, until the next start.
class TStarter {
public:
    TStarter(std::string display, std::string home)
        : m_display(std::move(display)), m_home(std::move(home)) {}
    ~TStarter() { stop(); }

    // Starts `program` and returns when it has painted; throws when it never does.
    void start(const std::string& program) {
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        ::fcntl(pipeFds[1], F_SETFD, 0); // the child inherits the write end
        m_pid = Spawn({program}, ChildEnvironment(m_display, m_home, pipeFds[1]));
        ::close(pipeFds[1]);
        const bool painted = ReadByte(pipeFds[0], PaintTimeoutMilliseconds);
        ::close(pipeFds[0]);
        if (!painted) throw std::runtime_error(program + " never painted");
    }
    void stop() { Stop(m_pid); }

private:
    std::string m_display;
    std::string m_home;
    pid_t m_pid = 0;
};

void BenchStartup() {
    const std::string folder = ProgramFolder();
    const std::string program = folder + "/zelvora";
    const std::string bare = folder + "/zelvora-bench-bare-window";
    if (::access(program.c_str(), X_OK) != 0 || ::access(bare.c_str(), X_OK) != 0) {
        std::printf("startup: skipped, build the targets zelvora and zelvora-bench-bare-window\n");
        return;
    }
    try {
        const TXvfb display;
        const TBenchHome home;
        TStarter starter(display.display(), home.path());
        for (const std::string& warm : {program, bare}) { // the libraries into the page cache
            starter.start(warm);
            starter.stop();
        }
        const auto side = [&](const std::string& path) {
            return bench::TSide{[&] { starter.stop(); }, [&, path] { starter.start(path); }};
        };
        const bench::TPairTimes times = bench::AlternatePairs(Rounds, side(program), side(bare));
        starter.stop();
        bench::PrintRatio("startup", times);
    } catch (const std::exception& e) {
        std::printf("startup: skipped, %s\n", e.what());
    }
}

const bench::TRegistrar startupRegistrar("startup", &BenchStartup);

} // namespace
