#pragma once
// A one-connection HTTP server on 127.0.0.1 for tests of the HTTP transfer
// and the crash report upload.
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <future>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testsupport {

using ServerClock = std::chrono::steady_clock;

// A one-connection HTTP server on 127.0.0.1 and an ephemeral port. It accepts
// one client, reads its request (up to the blank line and any announced
// body), then plays its script of replies. Every wait is bounded, and the
// server ends by itself when the script is done or the client goes away.
class LoopbackServer {
public:
    struct Step {
        enum Kind { Send, SendBytewise, Pause, WaitGate, Hold, Reset } kind;
        std::string data;
        int ms;
    };

    explicit LoopbackServer(std::vector<Step> script) : mScript(std::move(script))
    {
        mListen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a = Loopback(0);
        bind(mListen, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(mListen, 1);
        socklen_t len = sizeof a;
        getsockname(mListen, reinterpret_cast<sockaddr*>(&a), &len);
        mPort = ntohs(a.sin_port);
        mThread = std::thread([this] { Serve(); });
    }
    ~LoopbackServer()
    {
        mQuit = true;
        OpenGate();
        mThread.join();
        close(mListen);
    }

    std::string Address() const { return "127.0.0.1:" + std::to_string(mPort) + "/report"; }
    // The request as received; valid once RequestSeen() is ready.
    std::string Request()
    {
        std::lock_guard<std::mutex> g(mLock);
        return mRequest;
    }
    // Becomes ready when the whole request has arrived.
    std::shared_future<void> RequestSeen() { return mRequestSeen; }
    void OpenGate()
    {
        std::lock_guard<std::mutex> g(mLock);
        mGateOpen = true;
        mGateCv.notify_all();
    }

    static sockaddr_in Loopback(uint16_t port)
    {
        sockaddr_in a;
        std::memset(&a, 0, sizeof a);
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return a;
    }

private:
    // Waits up to ms for the descriptor; false on time-out or quit.
    bool WaitFor(int fd, short events, int ms)
    {
        const auto end = ServerClock::now() + std::chrono::milliseconds(ms);
        while (!mQuit && ServerClock::now() < end) {
            pollfd p{fd, events, 0};
            if (poll(&p, 1, 20) > 0)
                return true;
        }
        return false;
    }

    void ReadRequest(int fd)
    {
        std::string req;
        size_t want = std::string::npos;
        char tmp[65536];
        while (req.size() < want && WaitFor(fd, POLLIN, 10000)) {
            ssize_t n = recv(fd, tmp, sizeof tmp, 0);
            if (n <= 0)
                break;
            req.append(tmp, size_t(n));
            const size_t head = req.find("\r\n\r\n");
            if (want == std::string::npos && head != std::string::npos) {
                const size_t cl = req.find("Content-Length: ");
                want = head + 4 + (cl < head ? std::stoul(req.substr(cl + 16)) : 0);
            }
        }
        std::lock_guard<std::mutex> g(mLock);
        mRequest = req;
    }

    void Serve()
    {
        if (!WaitFor(mListen, POLLIN, 10000)) {
            mSeen.set_value();
            return;
        }
        int fd = accept(mListen, nullptr, nullptr);
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ReadRequest(fd);
        mSeen.set_value();
        bool reset = false;
        for (const Step& s : mScript) {
            if (mQuit)
                break;
            switch (s.kind) {
            case Step::Send:
                send(fd, s.data.data(), s.data.size(), MSG_NOSIGNAL);
                break;
            case Step::SendBytewise:
                for (char c : s.data) {
                    send(fd, &c, 1, MSG_NOSIGNAL);
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                break;
            case Step::Pause:
                std::this_thread::sleep_for(std::chrono::milliseconds(s.ms));
                break;
            case Step::WaitGate: {
                std::unique_lock<std::mutex> g(mLock);
                mGateCv.wait_for(g, std::chrono::seconds(10), [this] { return mGateOpen; });
                break;
            }
            case Step::Hold: {
                // Keep the connection open until the client closes it.
                char c;
                while (WaitFor(fd, POLLIN, 10000) && recv(fd, &c, 1, 0) > 0) {
                }
                break;
            }
            case Step::Reset: {
                linger l{1, 0};
                setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
                reset = true;
                break;
            }
            }
        }
        (void)reset;
        close(fd);
    }

    std::vector<Step> mScript;
    int mListen = -1;
    uint16_t mPort = 0;
    std::atomic<bool> mQuit{false};
    std::mutex mLock;
    std::condition_variable mGateCv;
    bool mGateOpen = false;
    std::string mRequest;
    std::promise<void> mSeen;
    std::shared_future<void> mRequestSeen{mSeen.get_future().share()};
    std::thread mThread;
};

using Step = LoopbackServer::Step;
inline Step Send(const std::string& data) { return {Step::Send, data, 0}; }
inline Step SendBytewise(const std::string& data) { return {Step::SendBytewise, data, 0}; }
inline Step Pause(int ms) { return {Step::Pause, "", ms}; }
inline Step WaitGate() { return {Step::WaitGate, "", 0}; }
inline Step Hold() { return {Step::Hold, "", 0}; }
inline Step Reset() { return {Step::Reset, "", 0}; }

} // namespace testsupport
