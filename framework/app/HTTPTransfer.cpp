#include "framework/app/HTTPTransfer.h"

#include "framework/app/Buffer.h"
#include "framework/app/DemoRecordStream.h"
#include "framework/app/StringUtil.h"
#include "platform/crash/ThreadStart.h"
#include "platform/net/TcpSocket.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace Zelk {

namespace {

// Constant-initialised: the crash catcher's transfer is built during static
// initialisation, possibly before this file's dynamic initialisers run.
std::atomic<uint32_t> gNextTransferId{1};

uint32_t NewTransferId() { return gNextTransferId.fetch_add(1); }

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// A header line split at its first ":" into the name in lower case and the
// value without surrounding white space; false for a line without ":".
bool SplitHeader(const std::string& line, std::string& name, std::string& value)
{
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return false;
    name = StringToLower(line.substr(0, colon));
    value = StringTrim(line.substr(colon + 1));
    return true;
}

// atoi that saturates instead of overflowing.
int32_t ToInt(const std::string& text)
{
    long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return int32_t(v);
}

// A chunk-size line: hex digits, optionally followed by ";" and extensions,
// which are ignored. False for anything else, and for a size that does not
// fit a 32-bit signed number.
bool ParseChunkSize(const std::string& line, int32_t& size)
{
    const std::string digits = StringTrim(line.substr(0, line.find(';')));
    if (digits.empty())
        return false;
    uint64_t v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * 16 + uint64_t(d);
        if (v > uint64_t(INT32_MAX))
            return false;
    }
    size = int32_t(v);
    return true;
}

} // namespace

HTTPTransfer::HTTPTransfer() : mTransferId(NewTransferId()) {}

HTTPTransfer::~HTTPTransfer()
{
    mAbort = true;
    mStop = true;
    JoinWorker();
}

void HTTPTransfer::JoinWorker()
{
    if (mThread.joinable())
        mThread.join();
}

void HTTPTransfer::Reset()
{
    if (mThreadRunning.load()) {
        mAbort = true;
        mStop = true;
        WaitFinished();
    }
    JoinWorker();
    mTransferId = NewTransferId();
    mResult.store(RESULT_PENDING, std::memory_order_release);
    mLastReportedResult = RESULT_PENDING;
    mContent.clear();
    mAddress.clear();
    mRequest.clear();
    mPath.clear();
    mStop = false;
    mAbort = false;
}

void HTTPTransfer::SetUrl(const std::string& address)
{
    Reset();
    mTransferId = NewTransferId();
    mAddress = address;
    mStop = false;
    mAbort = false;
    mResult.store(RESULT_RUNNING, std::memory_order_release);
    mContent.clear();
    mContentLength = 0;
    mPort = 80;

    size_t start = 0;
    const size_t slashes = address.find("//");
    if (slashes != std::string::npos) {
        mScheme = slashes > 0 ? address.substr(0, slashes - 1) : std::string();
        start = slashes + 2;
    } else {
        mScheme.clear();
    }
    std::string hostPart;
    const size_t slash = address.find('/', start);
    if (slash != std::string::npos) {
        hostPart = address.substr(start, slash - start);
        mPath = address.substr(slash);
    } else {
        hostPart = address.substr(start);
        mPath = "/";
    }
    const size_t colon = hostPart.find(':');
    if (colon != std::string::npos) {
        mPort = ToInt(hostPart.substr(colon + 1));
        mHost = hostPart.substr(0, colon);
    } else {
        mHost = hostPart;
    }
}

void HTTPTransfer::Start(const std::string& address, const std::string& request)
{
    SetUrl(address);
    mRequest = request;
    mActive = true;
    if (gDemoStream && gDemoStream->IsPlayingDemo())
        return;
    mThreadRunning = true;
    mThread = plat::StartThread("zelk-http", [this] { Run(); });
}

void HTTPTransfer::WaitFinished()
{
    while (mActive.load()) {
        UpdateStatus();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void HTTPTransfer::UpdateStatus()
{
    DemoRecordStream* demo = gDemoStream;
    if (!demo)
        return;
    if (demo->IsPlayingDemo()) {
        bool isShort = false;
        int command = 0;
        if (!demo->PendingRecord(isShort, command) || isShort || command != kDemoCommand)
            return;
        Buffer& b = demo->DemoBuffer();
        const int32_t pos = b.GetReadPos();
        if (uint32_t(b.ReadLong()) != mTransferId) {
            b.SetReadPos(pos); // another transfer's record
            return;
        }
        const int32_t result = b.ReadByte();
        mContent = b.ReadString();
        mResult.store(result, std::memory_order_release);
        mLastReportedResult = result;
        demo->ConsumeRecord();
    } else if (demo->IsRecordingDemo()) {
        const int32_t result = GetResult();
        if (result == mLastReportedResult)
            return;
        demo->BeginLongRecord(kDemoCommand);
        Buffer& b = demo->DemoBuffer();
        b.WriteLong(int32_t(mTransferId));
        b.WriteByte(uint8_t(result));
        // The buffer's string cuts content beyond its 32767-byte limit.
        b.WriteString(result == RESULT_RUNNING ? std::string() : mContent);
        mLastReportedResult = result;
    }
}

void HTTPTransfer::Fail(int32_t result)
{
    mResult.store(result, std::memory_order_release);
    mStop = true;
}

bool HTTPTransfer::PastDeadline()
{
    if (std::chrono::steady_clock::now() < mDeadline)
        return false;
    Fail(RESULT_TIMED_OUT);
    return true;
}

bool HTTPTransfer::SocketWait(plat::TcpSocket& socket, bool wantRead, bool wantWrite)
{
    for (;;) {
        if (mStop.load())
            return true;
        if (PastDeadline())
            return false;
        switch (socket.Wait(wantRead, wantWrite, 100)) {
        case plat::TcpSocket::WaitState::Error:
            Fail(RESULT_SOCKET_ERROR);
            return false;
        case plat::TcpSocket::WaitState::Ready:
            return true;
        case plat::TcpSocket::WaitState::Timeout:
            break;
        }
    }
}

void HTTPTransfer::Run()
{
    mDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(mTimeLimitMs);
    plat::TcpSocket socket;
    if (!socket.Open()) {
        Fail(RESULT_SOCKET_ERROR);
    } else if (!mStop.load()) {
        uint32_t address = 0;
        if (!plat::ResolveHost(mHost, address)) {
            Fail(RESULT_HOST_NOT_FOUND);
        } else {
            auto state = socket.Connect(address, uint16_t(mPort));
            if (state == plat::TcpSocket::ConnectState::Failed) {
                Fail(RESULT_CONNECT_FAILED);
            } else if (state == plat::TcpSocket::ConnectState::InProgress) {
                // A refused or unreachable peer shows only in SO_ERROR once
                // the socket is ready.
                if (!SocketWait(socket, false, true)) {
                    if (mResult.load() != RESULT_TIMED_OUT)
                        Fail(RESULT_CONNECT_FAILED);
                } else if (!mStop.load() && socket.PendingError() != 0) {
                    Fail(RESULT_CONNECT_FAILED);
                }
            }
            while (!mRequest.empty() && !mStop.load()) {
                if (!SocketWait(socket, false, true))
                    break;
                if (mStop.load())
                    break;
                const long sent = socket.Send(mRequest.data(), mRequest.size());
                if (sent < 0) {
                    Fail(RESULT_SEND_FAILED);
                    break;
                }
                mRequest.erase(0, size_t(sent));
            }
            ReceiveResponse(socket);
        }
    }
    socket.Close();
    if (mAbort.load()) {
        mResult.store(RESULT_ABORTED, std::memory_order_release);
        mStop = true;
    } else if (mResult.load() == RESULT_RUNNING) {
        mResult.store(RESULT_DONE, std::memory_order_release);
    }
    mThreadRunning = false;
    mActive = false;
}

void HTTPTransfer::ReceiveResponse(plat::TcpSocket& socket)
{
    // Positions are absolute within `buf` and may run past its end (the CRLF
    // after chunk data is skipped before it has arrived): everything below
    // treats a position past the end as "nothing available".
    std::string buf;
    size_t p = 0;
    bool moved = false;
    bool statusSeen = false;
    bool headersDone = false;
    bool chunked = false;
    bool hasLength = false;
    int32_t contentLeft = 0;
    int32_t chunkLeft = 0;
    auto available = [&] { return p < buf.size() ? buf.size() - p : size_t(0); };
    auto findLineEnd = [&]() -> size_t { return p < buf.size() ? buf.find("\r\n", p) : std::string::npos; };
    // Moves received body bytes into the content (at most `left` of them);
    // false when none are there yet or the size limit is passed.
    auto takeBody = [&](size_t left) -> size_t {
        const size_t take = std::min(left, available());
        if (take == 0)
            return 0;
        if (mContent.size() + take > mSizeLimit) {
            Fail(RESULT_TOO_LARGE);
            return 0;
        }
        mContent.append(buf, p, take);
        p += take;
        moved = true;
        return take;
    };

    while (!mStop.load()) {
        if (!moved) {
            if (!SocketWait(socket, true, false) || mStop.load())
                return;
            if (p >= buf.size()) { // all consumed: start the buffer afresh
                p -= buf.size();
                buf.clear();
            }
            char chunk[256];
            const long n = socket.Receive(chunk, sizeof chunk);
            if (n == plat::TcpSocket::kWouldBlock)
                continue;
            if (n < 0) {
                Fail(RESULT_SOCKET_ERROR); // a broken connection is no success
                return;
            }
            if (n == 0) {
                // Closed in order: that ends a body without a length, and
                // cuts short anything else.
                if (!statusSeen)
                    Fail(RESULT_NO_RESPONSE);
                else if (!headersDone || chunked || (hasLength && contentLeft > 0))
                    Fail(RESULT_INCOMPLETE);
                return;
            }
            buf.append(chunk, size_t(n));
            if (!headersDone && buf.size() - std::min(p, buf.size()) > mSizeLimit) {
                Fail(RESULT_TOO_LARGE);
                return;
            }
        }
        moved = false;

        if (!headersDone) {
            const size_t end = findLineEnd();
            if (end == std::string::npos)
                continue;
            const std::string line = buf.substr(p, end - p);
            p = end + 2;
            moved = true;
            std::string name, value;
            if (!statusSeen && StartsWith(line, "HTTP/1.")) {
                statusSeen = true;
                // A line too short to hold a status code is no "200".
                const std::string status = line.size() >= 12 ? line.substr(9, 3) : std::string();
                if (status == "404") {
                    Fail(RESULT_NOT_FOUND);
                } else if (status != "200") {
                    Fail(RESULT_HTTP_ERROR);
                }
            } else if (line.empty()) {
                headersDone = true;
                // An announced empty body is complete at once.
                if (hasLength && contentLeft == 0 && !chunked)
                    return;
            } else if (!SplitHeader(line, name, value)) {
                continue;
            } else if (name == "transfer-encoding") {
                chunked = StringToLower(value) != "identity";
            } else if (name == "content-length") {
                contentLeft = ToInt(value);
                mContentLength = contentLeft;
                hasLength = !value.empty() && value[0] >= '0' && value[0] <= '9';
                if (hasLength && size_t(contentLeft) > mSizeLimit) {
                    Fail(RESULT_TOO_LARGE);
                    return;
                }
            }
            continue;
        }

        if (chunked) {
            if (chunkLeft == 0) {
                const size_t end = findLineEnd();
                if (end == std::string::npos)
                    continue;
                int32_t size = 0;
                if (!ParseChunkSize(buf.substr(p, end - p), size))
                    return;
                if (size == 0)
                    return; // the last chunk: the body is whole
                chunkLeft = size;
                p = end + 2;
                moved = true;
            }
            chunkLeft -= int32_t(takeBody(size_t(chunkLeft)));
            if (chunkLeft == 0 && moved)
                p += 2;
        } else if (hasLength) {
            contentLeft -= int32_t(takeBody(size_t(contentLeft)));
            if (contentLeft == 0)
                return;
        } else {
            takeBody(SIZE_MAX);
        }
    }
}

} // namespace Zelk
