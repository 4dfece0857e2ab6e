#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

namespace plat {
class TcpSocket;
}

namespace Zelk {

// One HTTP/1.x request, written in full by the caller, sent on a worker
// thread of its own; the response body (plain, Content-Length bounded or
// chunked) is collected into the content. The owner polls the result.
//
// The worker writes the content before it publishes a result other than
// RESULT_RUNNING; the owner reads the content only after that.
class HTTPTransfer {
public:
    enum Result : int32_t {
        RESULT_DONE = 0,           // the response ended
        RESULT_PENDING = 1,        // reset, nothing started
        RESULT_RUNNING = 2,
        RESULT_NOT_FOUND = 3,      // status "404"
        RESULT_HTTP_ERROR = 4,     // any status other than "200" and "404"
        RESULT_ABORTED = 5,        // ended from outside
        RESULT_SOCKET_ERROR = 6,   // no socket, or the socket reported an error
        RESULT_HOST_NOT_FOUND = 7,
        RESULT_CONNECT_FAILED = 8,
        RESULT_SEND_FAILED = 9,
        RESULT_NO_RESPONSE = 10,   // closed before a whole status line arrived
        RESULT_INCOMPLETE = 11,    // closed inside the headers or before the announced body ended
        RESULT_TIMED_OUT = 12,     // the transfer's time limit passed
        RESULT_TOO_LARGE = 13,     // the response exceeds the size limit
        RESULT_BAD_RESPONSE = 14,  // the response breaks HTTP's form: a chunk size that is no number, two different lengths
    };
    // Limits of a transfer unless its owner sets others.
    static constexpr int kDefaultTimeLimitMs = 60000;
    static constexpr size_t kDefaultSizeLimit = size_t(16) << 20;
    // Demo command number of the transfer's status records.
    static constexpr int kDemoCommand = 17;

    HTTPTransfer();
    virtual ~HTTPTransfer();
    HTTPTransfer(const HTTPTransfer&) = delete;
    HTTPTransfer& operator=(const HTTPTransfer&) = delete;

    // Ends a running worker, then clears the transfer (result pending).
    void Reset();
    // Resets and splits the address ("scheme://host:port/path") into host,
    // port (default 80) and path; result running.
    void SetUrl(const std::string& address);
    // SetUrl, then sends the request on a new worker (none while a demo plays back).
    void Start(const std::string& address, const std::string& request);
    // While active: UpdateStatus and a 20 ms pause.
    void WaitFinished();
    // The demo hook: records every change of the result while a demo is
    // recorded; takes the result from the demo while one plays back.
    void UpdateStatus();

    int32_t GetResult() const { return mResult.load(std::memory_order_acquire); }
    // The body received; meaningful once the result is no longer RESULT_RUNNING.
    const std::string& GetContent() const { return mContent; }
    // Asks the worker to end with RESULT_ABORTED.
    void Abort()
    {
        mAbort = true;
        mStop = true;
    }
    bool IsActive() const { return mActive.load(); }
    // From the start of the worker to the end of the response; set before
    // Start, kept by Reset.
    void SetTimeLimit(int milliseconds) { mTimeLimitMs = milliseconds; }
    // The most bytes of headers and of body a response may have.
    void SetSizeLimit(size_t bytes) { mSizeLimit = bytes; }
    uint32_t GetTransferId() const { return mTransferId; }
    const std::string& GetScheme() const { return mScheme; }
    const std::string& GetHost() const { return mHost; }
    int32_t GetPort() const { return mPort; }
    const std::string& GetPath() const { return mPath; }
    int32_t GetContentLength() const { return mContentLength.load(); }

    // Shared with the worker without a lock; the owner may set both to end it.
    std::atomic<bool> mStop{false};
    std::atomic<bool> mAbort{false};

private:
    void Run();
    bool SocketWait(plat::TcpSocket& socket, bool wantRead, bool wantWrite);
    void ReceiveResponse(plat::TcpSocket& socket);
    void Fail(int32_t result);
    bool PastDeadline();
    void JoinWorker();

    uint32_t mTransferId;
    std::string mRequest;
    std::string mAddress;
    std::string mScheme;
    std::string mHost;
    int32_t mPort = 0;
    std::string mPath;
    std::atomic<int32_t> mContentLength{0};
    std::string mContent;
    std::atomic<bool> mActive{false};
    std::atomic<bool> mThreadRunning{false};
    std::atomic<int32_t> mResult{RESULT_PENDING};
    int32_t mLastReportedResult = RESULT_PENDING;
    std::thread mThread;
    int mTimeLimitMs = kDefaultTimeLimitMs;
    size_t mSizeLimit = kDefaultSizeLimit;
    std::chrono::steady_clock::time_point mDeadline; // the worker's
};

} // namespace Zelk
