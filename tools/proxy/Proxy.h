#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace kvnet {

// A TCP forwarder between a session and a database server, on 127.0.0.1 and a port of its
// own, that breaks or slows the network on demand: it cuts or freezes the connections
// passing through it, refuses new ones, loses a COMMIT or the reply to it, or holds every
// answer back.
class Proxy {
public:
    // `serverHost`: a name or IPv4 address of the server.
    explicit Proxy(int serverPort, const std::string& serverHost = "127.0.0.1");
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
    // Every answer of the server reaches the client this many milliseconds late, as over a
    // link with that much latency: each piece is held back from the moment it arrived, so an
    // answer that comes in many pieces is late once, and a round trip costs the delay once.
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
    std::string serverHost_;
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

}  // namespace kvnet
