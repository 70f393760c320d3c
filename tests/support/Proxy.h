#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace kvtest {

// A TCP forwarder between a session under test and the test server, on 127.0.0.1 and a
// port of its own, that breaks the network on demand: it cuts or freezes the connections
// passing through it, refuses new ones, or loses a COMMIT or the reply to it.
class Proxy {
public:
    explicit Proxy(int serverPort);
    ~Proxy();
    Proxy(const Proxy&) = delete;
    Proxy& operator=(const Proxy&) = delete;

    int port() const { return port_; }

    enum class CommitFault {
        None,
        LoseCommit,  // the COMMIT never reaches the server; the connection breaks
        LoseReply,   // the server commits; its reply is lost with the connection
    };
    // The next COMMIT that passes fails so.
    void failNextCommit(CommitFault fault) { commitFault_ = fault; }
    // The connections open now pass nothing more, in either direction, and stay open (a
    // network that drops every packet); later connections pass as usual.
    void freeze();
    // The connections open now are closed.
    void cut();
    // While on, a new connection is closed as soon as it comes.
    void refuse(bool on) { refuse_ = on; }
    // Every answer of the server reaches the client this many milliseconds late (a slow
    // network).
    void delay(int milliseconds) { delayMs_ = milliseconds; }

private:
    struct Link {
        int client = -1;
        int server = -1;
        std::atomic<bool> frozen{false};
        std::atomic<bool> cut{false};
        std::thread thread;
    };
    void acceptLoop();
    void forward(Link& link);

    int serverPort_;
    int listener_ = -1;
    int port_ = 0;
    int wake_[2] = {-1, -1};
    std::atomic<bool> stop_{false};
    std::atomic<bool> refuse_{false};
    std::atomic<int> delayMs_{0};
    std::atomic<CommitFault> commitFault_{CommitFault::None};
    std::mutex mutex_;
    std::list<std::unique_ptr<Link>> links_;
    std::thread acceptor_;
};

}  // namespace kvtest
