#include "framework/app/HTTPTransfer.h"

#include "framework/app/Buffer.h"
#include "framework/app/DemoRecordStream.h"
#include "framework/app/HTTPReplyReader.h"
#include "framework/app/StringUtil.h"
#include "platform/crash/ThreadStart.h"
#include "platform/net/HostLookup.h"
#include "platform/net/TcpSocket.h"

#include <chrono>
#include <climits>
#include <cstdint>

namespace Zelk {

namespace {

// Constant-initialised: the crash catcher's transfer is built during static
// initialisation, possibly before this file's dynamic initialisers run.
std::atomic<uint32_t> gNextTransferId{1};

uint32_t NewTransferId() { return gNextTransferId.fetch_add(1); }

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
        mPort = int32_t(ReadLeadingInteger(hostPart.substr(colon + 1), INT_MIN, INT_MAX));
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
        // The look-up counts against the time limit, and an abort ends the
        // wait for it like any other.
        plat::HostLookup lookup(mHost);
        plat::HostLookup::State found = plat::HostLookup::State::Pending;
        while (found == plat::HostLookup::State::Pending && !mStop.load() && !PastDeadline())
            found = lookup.Wait(100);
        if (found != plat::HostLookup::State::Found) {
            if (found == plat::HostLookup::State::NotFound)
                Fail(RESULT_HOST_NOT_FOUND);
        } else {
            const uint32_t address = lookup.Address();
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
    HTTPReplyReader reader(mContent, mSizeLimit);
    while (!mStop.load()) {
        if (!SocketWait(socket, true, false) || mStop.load())
            return;
        char chunk[256];
        const long n = socket.Receive(chunk, sizeof chunk);
        if (n == plat::TcpSocket::kWouldBlock)
            continue;
        if (n < 0) {
            Fail(RESULT_SOCKET_ERROR); // a broken connection is no success
            return;
        }
        if (n == 0)
            reader.Closed();
        else
            reader.Feed(chunk, size_t(n));
        mContentLength = reader.ContentLength();
        if (reader.Result() != RESULT_RUNNING) {
            if (reader.Result() != RESULT_DONE)
                Fail(reader.Result());
            return;
        }
    }
}

} // namespace Zelk
