#include "proxy/Proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>
#include <chrono>
#include <deque>

namespace kvnet {

namespace {

using Clock = std::chrono::steady_clock;

int connectTo(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
        return -1;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool connected = fd >= 0 && ::connect(fd, found->ai_addr, found->ai_addrlen) == 0;
    ::freeaddrinfo(found);
    if (!connected) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

bool sendAll(int fd, const char* data, ssize_t n)
{
    while (n > 0) {
        const ssize_t w = ::send(fd, data, static_cast<size_t>(n), MSG_NOSIGNAL);
        if (w <= 0)
            return false;
        data += w;
        n -= w;
    }
    return true;
}

// A COM_QUERY packet whose text is "commit", or ends with it after other statements (the
// client sends a whole packet at once).
bool isCommit(const char* data, ssize_t n)
{
    static const char kText[] = "commit";
    const ssize_t length = static_cast<ssize_t>(sizeof kText - 1);
    if (n < 5 + length || data[4] != 0x03 || ::strncasecmp(data + n - length, kText, size_t(length)) != 0)
        return false;
    return n == 5 + length || data[n - length - 1] == ';';
}

}  // namespace

Proxy::Proxy(int serverPort, const std::string& serverHost) : serverPort_(serverPort), serverHost_(serverHost)
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return;
    port_ = ntohs(a.sin_port);
    if (::pipe2(wake_, O_CLOEXEC) != 0)
        return;
    acceptor_ = std::thread([this] { acceptLoop(); });
}

Proxy::~Proxy()
{
    stop_ = true;
    if (wake_[1] >= 0)
        (void)::write(wake_[1], "x", 1);
    if (acceptor_.joinable())
        acceptor_.join();
    for (auto& link : links_)
        if (link->thread.joinable())
            link->thread.join();
    for (int fd : {listener_, wake_[0], wake_[1]})
        if (fd >= 0)
            ::close(fd);
}

void Proxy::freeze()
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& link : links_)
        link->frozen = true;
}

void Proxy::cut()
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& link : links_)
        link->cut = true;
}

void Proxy::acceptLoop()
{
    while (!stop_) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) <= 0 || stop_)
            continue;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        if (refuse_) {
            ::close(client);
            continue;
        }
        const int server = connectTo(serverHost_, serverPort_);
        if (server < 0) {
            ::close(client);
            continue;
        }
        const int one = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::lock_guard<std::mutex> lock(mutex_);
        auto link = std::make_unique<Link>();
        link->client = client;
        link->server = server;
        Link* l = link.get();
        links_.push_back(std::move(link));
        l->thread = std::thread([this, l] { forward(*l); });
    }
}

void Proxy::forward(Link& link)
{
    // The server's answers waiting for their delay to pass, in the order they came.
    struct Held {
        Clock::time_point due;
        std::string bytes;
    };
    std::deque<Held> held;
    bool dropReply = false;
    char buffer[65536];
    while (!stop_ && !link.cut) {
        if (link.frozen) {
            ::usleep(20 * 1000);
            continue;
        }
        bool failed = false;
        while (!failed && !held.empty() && held.front().due <= Clock::now()) {
            failed = !sendAll(link.client, held.front().bytes.data(), ssize_t(held.front().bytes.size()));
            held.pop_front();
        }
        if (failed)
            break;
        auto wait = std::chrono::nanoseconds(std::chrono::milliseconds(20));
        if (!held.empty())
            wait = std::min(
                wait, std::chrono::duration_cast<std::chrono::nanoseconds>(held.front().due - Clock::now()));
        wait = std::max(wait, std::chrono::nanoseconds(0));
        const timespec timeout{static_cast<time_t>(wait.count() / 1000000000),
                               static_cast<long>(wait.count() % 1000000000)};
        pollfd fds[2] = {{link.client, POLLIN, 0}, {link.server, POLLIN, 0}};
        if (::ppoll(fds, 2, &timeout, nullptr) <= 0)
            continue;
        if (link.frozen)
            continue;
        if (fds[0].revents) {
            const ssize_t n = ::recv(link.client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            const CommitFault fault =
                isCommit(buffer, n) ? commitFault_.exchange(CommitFault::None) : CommitFault::None;
            if (fault == CommitFault::LoseCommit)
                break;
            // Armed before the COMMIT goes on, so its reply cannot slip through.
            dropReply = fault == CommitFault::LoseReply;
            if (!sendAll(link.server, buffer, n))
                break;
        }
        if (fds[1].revents) {
            const ssize_t n = ::recv(link.server, buffer, sizeof buffer, 0);
            if (n <= 0 || dropReply)
                break;
            const int ms = delayMs_;
            if (ms <= 0 && held.empty()) {
                if (!sendAll(link.client, buffer, n))
                    break;
                continue;
            }
            // Never before what came earlier, even when the delay was shortened meanwhile.
            Clock::time_point due = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
            if (!held.empty())
                due = std::max(due, held.back().due);
            held.push_back({due, std::string(buffer, static_cast<size_t>(n))});
        }
    }
    ::shutdown(link.client, SHUT_RDWR);
    ::shutdown(link.server, SHUT_RDWR);
    ::close(link.client);
    ::close(link.server);
}

}  // namespace kvnet
