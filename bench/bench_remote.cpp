// Batch rename in a remote folder: an sshfs mount of a loopback sshd reached through a slow link
// (zelvora-bench-delay-pipe holds every chunk 2.5 ms each way, a 5 ms round trip), against the
// unsafe loop `mv -n` runs there (renameat2 with RENAME_NOREPLACE, and on EINVAL a plain
// renameat). The sshd is the bench's own: its keys, configuration and port live in a temporary
// folder, and nothing of the system's changes. Each side of each round gets a fresh folder and a
// fresh mount. ZELVORA_BENCH_REMOTE_FILES and ZELVORA_BENCH_REMOTE_ROUNDS change the entry count
// (2,000) and the rounds (3).
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/bench.h"
#include "engine/engine.h"

extern char** environ;

namespace {

constexpr int DefaultEntries = 2000;
constexpr int DefaultRounds = 3;
constexpr const char* DelayMilliseconds = "2.5"; // each way
constexpr int StartTimeoutMilliseconds = 10000;

// Why the line can't run here; printed instead of the figure.
struct TSkip : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int EnvironmentNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    const int number = text ? std::atoi(text) : 0;
    return number > 0 ? number : fallback;
}

// The program's path in PATH or the system folders, which a user's PATH may lack; "" if none.
std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = std::string(path ? path : "") + ":/usr/sbin:/sbin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

std::string Need(const std::string& program, const std::string& reason) {
    std::string path = FindProgram(program);
    if (path.empty()) throw TSkip(reason);
    return path;
}

// Starts `argv` with its output to /dev/null and its errors to `log`; throws when it can't.
pid_t Spawn(std::vector<std::string> argv, const std::string& log) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    std::vector<char*> pointers;
    for (std::string& text : argv)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    pid_t pid = 0;
    const int error =
        ::posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw TSkip("cannot start " + argv[0]);
    return pid;
}

// Runs `argv` to its end; true when it exits with 0.
bool Run(const std::vector<std::string>& argv, const std::string& log) {
    const pid_t pid = Spawn(argv, log);
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The last line of `log`, to say why a step failed.
std::string LastLine(const std::string& log) {
    std::ifstream in(log);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty()) last = line;
    return last;
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A loopback port free now, as the system picks one.
int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    ::close(fd);
    if (!bound) throw TSkip("no free loopback port");
    return ntohs(address.sin_port);
}

bool Listens(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

std::string UserName() {
    const passwd* user = ::getpwuid(::geteuid());
    if (!user) throw TSkip("no user name for this user");
    return user->pw_name;
}

// A per-run sshd on a free loopback port that lets in only a key made for this run, and the
// ssh configuration that reaches it through the slow link.
class TSshServer {
public:
    explicit TSshServer(const std::string& folder) : m_folder(folder) {
        const std::string sshd = Need("sshd", "no sshd (Debian: openssh-server)");
        const std::string keygen = Need("ssh-keygen", "no key: ssh-keygen is missing");
        const std::string pipe =
            std::filesystem::read_symlink("/proc/self/exe").parent_path().string() +
            "/zelvora-bench-delay-pipe";
        if (::access(pipe.c_str(), X_OK) != 0)
            throw TSkip("build the target zelvora-bench-delay-pipe, the slow link");
        for (const char* key : {"host_key", "client_key"})
            if (!Run({keygen, "-q", "-t", "ed25519", "-N", "", "-f", m_folder + "/" + key}, log()))
                throw TSkip("no key: ssh-keygen failed: " + LastLine(log()));
        std::filesystem::copy_file(m_folder + "/client_key.pub", m_folder + "/authorized_keys");
        const int port = FreeLoopbackPort();
        writeServerConfig(port);
        writeClientConfig(port, "'" + pipe + "' 127.0.0.1 " + std::to_string(port) + " " +
                                    DelayMilliseconds);
        m_pid = Spawn(ServerCommand(sshd, m_folder + "/sshd_config"), log());
        for (int waited = 0; !Listens(port); waited += 20) {
            const bool exited = ::waitpid(m_pid, nullptr, WNOHANG) != 0;
            if (exited || waited >= StartTimeoutMilliseconds) {
                if (exited) m_pid = 0; // gone already
                stop();
                throw TSkip("sshd did not start: " + LastLine(log()));
            }
            ::poll(nullptr, 0, 20);
        }
    }
    ~TSshServer() { stop(); }
    TSshServer(const TSshServer&) = delete;
    TSshServer& operator=(const TSshServer&) = delete;

    std::string clientConfig() const { return m_folder + "/ssh_config"; }
    std::string log() const { return m_folder + "/log"; }

private:
    void stop() {
        if (m_pid > 0 && ::kill(m_pid, SIGTERM) == 0) ::waitpid(m_pid, nullptr, 0);
        m_pid = 0;
    }
    // As root, sshd wants its privilege-separation folder /run/sshd, which only a running
    // system sshd makes: it then runs in a mount namespace of its own with a private /run.
    static std::vector<std::string> ServerCommand(const std::string& sshd,
                                                  const std::string& config) {
        const std::vector<std::string> plain = {sshd, "-D", "-e", "-f", config};
        if (::geteuid() != 0 || ::access("/run/sshd", F_OK) == 0) return plain;
        const std::string unshare = Need("unshare", "sshd needs /run/sshd, and unshare is missing");
        const std::string script = "mount -t tmpfs -o mode=0755 tmpfs /run && mkdir /run/sshd && "
                                   "exec \"$0\" -D -e -f \"$1\"";
        return {unshare, "--mount", "--propagation", "private", "sh", "-c", script, sshd, config};
    }
    void writeServerConfig(int port) const {
        WriteText(m_folder + "/sshd_config",
                  "ListenAddress 127.0.0.1\nPort " + std::to_string(port) + "\nHostKey " +
                      m_folder + "/host_key\nAuthorizedKeysFile " + m_folder +
                      "/authorized_keys\nAuthenticationMethods publickey\n"
                      "PermitRootLogin prohibit-password\nPidFile none\nStrictModes no\n"
                      "UsePAM no\nSubsystem sftp internal-sftp\n");
    }
    void writeClientConfig(int port, const std::string& proxyCommand) const {
        WriteText(m_folder + "/ssh_config",
                  "Host zelvora-bench\n  HostName 127.0.0.1\n  Port " + std::to_string(port) +
                      "\n  User " + UserName() + "\n  IdentityFile " + m_folder +
                      "/client_key\n  IdentitiesOnly yes\n  BatchMode yes\n"
                      "  StrictHostKeyChecking no\n  UserKnownHostsFile /dev/null\n"
                      "  LogLevel ERROR\n  ProxyCommand " +
                      proxyCommand + "\n");
    }

    std::string m_folder;
    pid_t m_pid = 0;
};

// A fresh bench folder served by the sshd, mounted afresh with sshfs and listed through the
// mount, untimed.
class TRemoteFolder {
public:
    TRemoteFolder(const std::string& folder, const TSshServer& server, int entries)
        : m_folder(folder), m_server(server), m_entries(entries) {
        if (::access("/dev/fuse", R_OK | W_OK) != 0) throw TSkip("no FUSE: /dev/fuse is unusable");
        m_sshfs = Need("sshfs", "no sshfs (Debian: sshfs)");
        m_fusermount = FindProgram("fusermount3");
        if (m_fusermount.empty()) m_fusermount = Need("fusermount", "no FUSE: no fusermount");
        std::filesystem::create_directory(mountPoint());
    }
    ~TRemoteFolder() { release(); }
    TRemoteFolder(const TRemoteFolder&) = delete;
    TRemoteFolder& operator=(const TRemoteFolder&) = delete;

    void renew() {
        release();
        m_served = bench::MakeBenchFolder(m_entries, m_folder);
        if (!Run(
                {m_sshfs, "-F", m_server.clientConfig(), "zelvora-bench:" + m_served, mountPoint()},
                m_server.log()))
            throw TSkip("sshfs could not mount: " + LastLine(m_server.log()));
        m_mounted = true;
        listing = {};
        engine::ListFolder(listing, mountPoint(), engine::TFormatSettings{});
        bench::SyncDisks();
    }

    engine::TFolderListing listing;

private:
    std::string mountPoint() const { return m_folder + "/mount"; }
    void release() {
        if (m_mounted && !Run({m_fusermount, "-u", mountPoint()}, m_server.log()))
            Run({m_fusermount, "-u", "-z", mountPoint()}, m_server.log());
        m_mounted = false;
        if (!m_served.empty()) bench::RemoveTree(m_served);
        m_served.clear();
    }

    std::string m_folder;
    const TSshServer& m_server;
    int m_entries;
    std::string m_sshfs, m_fusermount, m_served;
    bool m_mounted = false;
};

// What `mv -n` does per file where the flag is refused: it falls back to a rename that
// replaces whatever took the name in between.
int RenameUnsafely(const engine::TFolderListing& listing, const std::vector<std::string>& names) {
    int failures = 0;
    const int dirFd = ::open(listing.CurrentFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const char* from = listing.Rows[i].OldName.c_str();
        if (::renameat2(dirFd, from, dirFd, names[i].c_str(), RENAME_NOREPLACE) == 0) continue;
        failures += errno != EINVAL || ::renameat(dirFd, from, dirFd, names[i].c_str()) != 0;
    }
    ::close(dirFd);
    return failures;
}

int CountFailures(const engine::TFolderListing& listing) {
    int failures = 0;
    for (const engine::TFolderEntry& row : listing.Rows)
        failures += row.Status != engine::TRenameStatus::Renamed;
    return failures;
}

void BenchRemoteRename() {
    const int entries = EnvironmentNumber("ZELVORA_BENCH_REMOTE_FILES", DefaultEntries);
    const int rounds = EnvironmentNumber("ZELVORA_BENCH_REMOTE_ROUNDS", DefaultRounds);
    const std::string folder = bench::MakeBenchFolder(0);
    try {
        const TSshServer server(folder);
        TRemoteFolder remote(folder, server, entries);
        engine::TBatchControl control;
        control.JournalFolder = folder + "/journals";
        const engine::TRenameSettings settings; // prefix mode, defaults
        std::vector<std::string> names;
        int failures = 0;
        const bench::TPairTimes times =
            bench::AlternatePairs(rounds,
                                  {[&] { remote.renew(); },
                                   [&] {
                                       engine::ApplyRenames(remote.listing, settings, control);
                                       failures += CountFailures(remote.listing);
                                   }},
                                  {[&] {
                                       remote.renew();
                                       names = bench::NewNames(remote.listing, settings);
                                   },
                                   [&] { failures += RenameUnsafely(remote.listing, names); }});
        if (failures != 0) std::printf("%d renames failed\n", failures);
        std::printf("%d entries\n", entries);
        bench::PrintRatio("rename-remote", times);
    } catch (const std::exception& e) {
        std::printf("rename-remote: skipped, %s\n", e.what());
    }
    bench::RemoveTree(folder);
}

const bench::TRegistrar remoteRegistrar("rename-remote", &BenchRemoteRename);

} // namespace
