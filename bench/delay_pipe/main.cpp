// A slow link for ssh's ProxyCommand, as the kernel's netem would make one where it is built in:
// connects to HOST:PORT, relays standard input to it and its answers to standard output, and
// holds every chunk DELAY_MS milliseconds in each direction, so a loopback sshd answers as a
// remote one would (a round trip of twice DELAY_MS). One thread, so the relay itself adds as
// little as it can on a busy machine.
//
// zelvora-bench-delay-pipe HOST PORT DELAY_MS
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <utility>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using TClock = std::chrono::steady_clock;

// One direction: chunks read from `from`, each written to `to` once it is `delay` old.
struct TDirection {
    TDirection(int from, int to, bool shutdownSocket)
        : from(from), to(to), shutdownSocket(shutdownSocket) {}

    int from, to;
    bool shutdownSocket; // `to` is the socket: end it with shutdown, not close
    bool ended = false;  // `from` is at its end; the rest is still held
    std::deque<std::pair<TClock::time_point, std::string>> held;

    bool done() const { return ended && held.empty(); }
};

bool WriteAll(int fd, const std::string& chunk) {
    for (std::size_t at = 0; at < chunk.size();) {
        const ssize_t wrote = ::write(fd, chunk.data() + at, chunk.size() - at);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        at += static_cast<std::size_t>(wrote);
    }
    return true;
}

void Read(TDirection& direction, TClock::duration delay) {
    char buffer[65536];
    const ssize_t got = ::read(direction.from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) return;
    if (got <= 0) {
        direction.ended = true;
        return;
    }
    direction.held.emplace_back(TClock::now() + delay, std::string(buffer, got));
}

// Writes every chunk that is due; false when the other end is gone.
bool Deliver(TDirection& direction) {
    const TClock::time_point now = TClock::now();
    while (!direction.held.empty() && direction.held.front().first <= now) {
        if (!WriteAll(direction.to, direction.held.front().second)) return false;
        direction.held.pop_front();
    }
    if (direction.done() && direction.to >= 0) {
        if (direction.shutdownSocket)
            ::shutdown(direction.to, SHUT_WR);
        else
            ::close(direction.to);
        direction.to = -1;
    }
    return true;
}

int Connect(const char* host, int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (fd < 0 || ::inet_pton(AF_INET, host, &address.sin_addr) != 1 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return -1;
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

// Until the next held chunk is due, or without end when nothing is held.
timespec* Wait(const TDirection (&directions)[2], timespec& until) {
    TClock::time_point next = TClock::time_point::max();
    for (const TDirection& direction : directions)
        if (!direction.held.empty() && direction.held.front().first < next)
            next = direction.held.front().first;
    if (next == TClock::time_point::max()) return nullptr;
    const auto left = std::max(next - TClock::now(), TClock::duration::zero());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    until = {static_cast<time_t>(seconds.count()),
             static_cast<long>(std::chrono::nanoseconds(left - seconds).count())};
    return &until;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s HOST PORT DELAY_MS\n", argv[0]);
        return 2;
    }
    const int link = Connect(argv[1], std::atoi(argv[2]));
    if (link < 0) {
        std::perror("connect");
        return 1;
    }
    const auto delay = std::chrono::duration_cast<TClock::duration>(
        std::chrono::duration<double, std::milli>(std::atof(argv[3])));
    TDirection directions[2] = {{0, link, true}, {link, 1, false}};
    // The answers decide when the session is over: ssh closes its end after the server's.
    while (!directions[1].done()) {
        pollfd ready[2];
        for (int i = 0; i < 2; ++i)
            ready[i] = {directions[i].ended ? -1 : directions[i].from, POLLIN, 0};
        timespec until{};
        if (::ppoll(ready, 2, Wait(directions, until), nullptr) < 0 && errno != EINTR) return 1;
        for (int i = 0; i < 2; ++i)
            if (ready[i].revents & (POLLIN | POLLHUP | POLLERR)) Read(directions[i], delay);
        for (TDirection& direction : directions)
            if (!Deliver(direction)) return 0;
    }
    return 0;
}
