#include "framework/app/Buffer.h"
#include "framework/app/DemoRecordStream.h"
#include "framework/app/HTTPTransfer.h"
#include "platform/net/HostLookup.h"
#include "tests/framework/tools/LoopbackServer.h"
#include "tests/support/SilentResolver.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using Zelk::HTTPTransfer;
using namespace testsupport;

namespace {

using Clock = std::chrono::steady_clock;

const std::string kRequest = "GET /report HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";

// Waits for the worker to end; a bound in case a fault makes it hang.
bool Finish(HTTPTransfer& t)
{
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (t.IsActive() && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return !t.IsActive();
}

} // namespace

TEST(HTTPTransfer, AddressSplit)
{
    struct {
        const char* address;
        const char* scheme;
        const char* host;
        int port;
        const char* path;
    } cases[] = {
        {"host:8080/x", "", "host", 8080, "/x"},
        {"http://host", "http", "host", 80, "/"},
        {"https://reports.example:81/a/b?c=1", "https", "reports.example", 81, "/a/b?c=1"},
        {"host", "", "host", 80, "/"},
        {"//host/p", "", "host", 80, "/p"},
        {"host:/p", "", "host", 0, "/p"},
    };
    for (auto& c : cases) {
        HTTPTransfer t;
        t.SetUrl(c.address);
        EXPECT_EQ(t.GetScheme(), c.scheme) << c.address;
        EXPECT_EQ(t.GetHost(), c.host) << c.address;
        EXPECT_EQ(t.GetPort(), c.port) << c.address;
        EXPECT_EQ(t.GetPath(), c.path) << c.address;
        EXPECT_EQ(t.GetResult(), HTTPTransfer::RESULT_RUNNING);
    }
}

// Each reply, the result it ends with and the body collected.
TEST(HTTPTransfer, Responses)
{
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
    const std::string ok = "HTTP/1.1 200 OK\r\n";
    struct Case {
        const char* name;
        std::vector<Step> script;
        int result;
        std::string content;
    } cases[] = {
        {"plain body until close", {Send(ok + "Server: t\r\n\r\nhello")}, 0, "hello"},
        {"content length, connection held open",
         {Send(ok + "Content-Length: 5\r\n\r\nhello"), Hold()}, 0, "hello"},
        {"content length split", {SendBytewise(ok + "Content-Length: 5\r\n\r\nhel"), Send("lo"), Hold()},
         0, "hello"},
        {"chunked, sent byte by byte",
         {SendBytewise(ok + "Transfer-Encoding: chunked\r\n\r\n1a\r\n" + alphabet + "\r\n0\r\n\r\n"), Hold()},
         0, alphabet},
        {"chunked, several chunks",
         {Send(ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2 \r\nde\r\n0\r\n\r\n"), Hold()}, 0, "abcde"},
        {"chunk extensions are ignored",
         {Send(ok + "Transfer-Encoding: chunked\r\n\r\n1a;name=value\r\n" + alphabet + "\r\n0\r\n\r\n"), Hold()},
         0, alphabet},
        // A chunk size that cannot be taken, and lengths that contradict
        // each other, leave a body that is no whole reply.
        {"a chunk size above the size limit",
         {Send(ok + "Transfer-Encoding: chunked\r\n\r\n5\r\nabcde\r\nffffffff\r\nxyz"), Hold()},
         HTTPTransfer::RESULT_TOO_LARGE, "abcde"},
        {"a chunk size that is no number",
         {Send(ok + "Transfer-Encoding: chunked\r\n\r\n2\r\nab\r\nzz\r\nxyz"), Hold()},
         HTTPTransfer::RESULT_BAD_RESPONSE, "ab"},
        {"a chunk size beyond any number",
         {Send(ok + "Transfer-Encoding: chunked\r\n\r\n2\r\nab\r\n" + std::string(20, 'f') + "\r\nxyz"), Hold()},
         HTTPTransfer::RESULT_BAD_RESPONSE, "ab"},
        {"a negative chunk size",
         {Send(ok + "Transfer-Encoding: chunked\r\n\r\n-5\r\nabcde\r\n0\r\n\r\n"), Hold()},
         HTTPTransfer::RESULT_BAD_RESPONSE, ""},
        {"two different lengths", {Send(ok + "Content-Length: 3\r\nContent-Length: 10\r\n\r\nabcdefghij"), Hold()},
         HTTPTransfer::RESULT_BAD_RESPONSE, ""},
        {"a length, then one that is no number",
         {Send(ok + "Content-Length: 3\r\ncontent-length: x\r\n\r\nabc"), Hold()}, HTTPTransfer::RESULT_BAD_RESPONSE, ""},
        {"the same length twice", {Send(ok + "Content-Length: 3\r\ncontent-length:  3\r\n\r\nabc"), Hold()}, 0, "abc"},
        {"any other coding reads as chunked",
         {Send(ok + "Transfer-Encoding: gzip\r\n\r\n2\r\nab\r\n0\r\n\r\n"), Hold()}, 0, "ab"},
        {"identity keeps the plain body", {Send(ok + "Transfer-Encoding: identity\r\n\r\n1a\r\nxyz")}, 0, "1a\r\nxyz"},
        {"slow server", {Pause(250), SendBytewise(ok + "\r\nslow")}, 0, "slow"},
        {"404", {Send("HTTP/1.1 404 Not Found\r\n\r\nnot here")}, 3, ""},
        {"302", {Send("HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\n")}, 4, ""},
        {"short status line", {Send("HTTP/1.1 20\r\n\r\nbody")}, 4, ""},
        {"connection reset", {Send(ok + "\r\npartial"), Pause(50), Reset()}, 6, ""},
        // Header names in any case; bytes after an announced body are not read.
        {"lower-case content length",
         {Send(ok + "content-length: 5\r\n\r\nhello"), Pause(100), Send("extra")}, 0, "hello"},
        {"lower-case chunked", {Send(ok + "transfer-encoding: Chunked\r\n\r\n2\r\nab\r\n0\r\n\r\n")}, 0, "ab"},
        {"empty body on an open connection", {Send(ok + "Content-Length: 0\r\n\r\n"), Pause(100), Send("extra")},
         0, ""},
        // A close that cuts the response short is no success.
        {"closed before anything", {}, HTTPTransfer::RESULT_NO_RESPONSE, ""},
        {"closed inside the status line", {Send("HTTP/1.1 200")}, HTTPTransfer::RESULT_NO_RESPONSE, ""},
        {"closed inside the headers", {Send(ok + "Server: t\r\n")}, HTTPTransfer::RESULT_INCOMPLETE, ""},
        {"closed before the announced length", {Send(ok + "Content-Length: 10\r\n\r\nhel")},
         HTTPTransfer::RESULT_INCOMPLETE, "hel"},
        {"closed inside a chunk", {Send(ok + "Transfer-Encoding: chunked\r\n\r\n5\r\nab")},
         HTTPTransfer::RESULT_INCOMPLETE, "ab"},
        {"closed before the last chunk", {Send(ok + "Transfer-Encoding: chunked\r\n\r\n2\r\nab\r\n")},
         HTTPTransfer::RESULT_INCOMPLETE, "ab"},
    };
    for (auto& c : cases) {
        LoopbackServer server(c.script);
        HTTPTransfer t;
        t.Start(server.Address(), kRequest);
        ASSERT_TRUE(Finish(t)) << c.name;
        EXPECT_EQ(t.GetResult(), c.result) << c.name;
        if (c.result != 6) { // after a reset only the result counts
            EXPECT_EQ(t.GetContent(), c.content) << c.name;
        }
        EXPECT_EQ(server.Request(), kRequest) << c.name;
    }
}

TEST(HTTPTransfer, LargeRequestArrivesWhole)
{
    const std::string body(1 << 20, 'r');
    const std::string request = "POST /report HTTP/1.1\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    LoopbackServer server({Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")});
    HTTPTransfer t;
    t.Start(server.Address(), request);
    ASSERT_TRUE(Finish(t));
    EXPECT_EQ(t.GetResult(), HTTPTransfer::RESULT_DONE);
    EXPECT_EQ(t.GetContent(), "ok");
    EXPECT_EQ(t.GetContentLength(), 2);
    EXPECT_TRUE(server.Request() == request);
}

TEST(HTTPTransfer, ConnectionFailures)
{
    // A bound port that does not listen refuses the connection.
    int closed = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = LoopbackServer::Loopback(0);
    ASSERT_EQ(bind(closed, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    socklen_t len = sizeof a;
    getsockname(closed, reinterpret_cast<sockaddr*>(&a), &len);
    HTTPTransfer refused;
    refused.Start("127.0.0.1:" + std::to_string(ntohs(a.sin_port)), kRequest);
    ASSERT_TRUE(Finish(refused));
    EXPECT_EQ(refused.GetResult(), HTTPTransfer::RESULT_CONNECT_FAILED);
    close(closed);

    // A name that is not found (the look-up is replaced: no name service).
    plat::SetHostResolver([](const std::string&, uint32_t&) { return false; });
    HTTPTransfer unknown;
    unknown.Start("http://no-such-host.invalid/", kRequest);
    ASSERT_TRUE(Finish(unknown));
    EXPECT_EQ(unknown.GetResult(), HTTPTransfer::RESULT_HOST_NOT_FOUND);
    plat::SetHostResolver(nullptr);
}

// A name server that never answers: the time limit and an abort end the
// transfer while the look-up is still unanswered.
TEST(HTTPTransfer, TimeLimitAndAbortCoverTheNameLookUp)
{
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "abort" : "time limit");
        testsupport::SilentResolver silent;
        HTTPTransfer t;
        t.SetTimeLimit(abort ? 600000 : 200);
        t.Start("http://reports.example/", kRequest);
        if (abort) {
            ASSERT_TRUE(silent.WaitAsked());
            t.Abort();
        }
        ASSERT_TRUE(Finish(t));
        EXPECT_EQ(t.GetResult(), abort ? HTTPTransfer::RESULT_ABORTED : HTTPTransfer::RESULT_TIMED_OUT);
        EXPECT_EQ(silent.Answered(), 0) << "the transfer waited for the name server";
    }
}

TEST(HTTPTransfer, AbortWhileTheServerIsSilent)
{
    LoopbackServer server({Hold()});
    HTTPTransfer t;
    t.Start(server.Address(), kRequest);
    ASSERT_EQ(server.RequestSeen().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(t.GetResult(), HTTPTransfer::RESULT_RUNNING);
    t.Abort();
    ASSERT_TRUE(Finish(t));
    EXPECT_EQ(t.GetResult(), HTTPTransfer::RESULT_ABORTED);

    // The transfer can be used again after a reset.
    t.Reset();
    EXPECT_EQ(t.GetResult(), HTTPTransfer::RESULT_PENDING);
    EXPECT_FALSE(t.mAbort.load());
    LoopbackServer again({Send("HTTP/1.1 200 OK\r\n\r\nagain")});
    t.Start(again.Address(), kRequest);
    ASSERT_TRUE(Finish(t));
    EXPECT_EQ(t.GetResult(), HTTPTransfer::RESULT_DONE);
    EXPECT_EQ(t.GetContent(), "again");
}

// The time and size limits end transfers that would otherwise run without end.
TEST(HTTPTransfer, TimeAndSizeLimits)
{
    const std::string ok = "HTTP/1.1 200 OK\r\n";
    struct Case {
        const char* name;
        std::vector<Step> script;
        int timeLimitMs;
        size_t sizeLimit;
        int result;
    } cases[] = {
        {"silent server", {Hold()}, 300, HTTPTransfer::kDefaultSizeLimit, HTTPTransfer::RESULT_TIMED_OUT},
        {"body trickling past the time", {Send(ok + "\r\n"), SendBytewise(std::string(1000, 'x')), Hold()}, 300,
         HTTPTransfer::kDefaultSizeLimit, HTTPTransfer::RESULT_TIMED_OUT},
        {"body without end", {Send(ok + "\r\n" + std::string(5000, 'x')), Hold()}, 10000, 1000,
         HTTPTransfer::RESULT_TOO_LARGE},
        {"announced body too large", {Send(ok + "Content-Length: 1001\r\n\r\n"), Hold()}, 10000, 1000,
         HTTPTransfer::RESULT_TOO_LARGE},
        {"chunks too large", {Send(ok + "Transfer-Encoding: chunked\r\n\r\n800\r\n" + std::string(2048, 'x')), Hold()},
         10000, 1000, HTTPTransfer::RESULT_TOO_LARGE},
        {"headers without end", {Send(ok + "X-Fill: " + std::string(5000, 'x')), Hold()}, 10000, 1000,
         HTTPTransfer::RESULT_TOO_LARGE},
        {"within both", {Send(ok + "Content-Length: 1000\r\n\r\n" + std::string(1000, 'x')), Hold()}, 10000, 1000,
         HTTPTransfer::RESULT_DONE},
    };
    for (auto& c : cases) {
        LoopbackServer server(c.script);
        HTTPTransfer t;
        t.SetTimeLimit(c.timeLimitMs);
        t.SetSizeLimit(c.sizeLimit);
        t.Start(server.Address(), kRequest);
        ASSERT_TRUE(Finish(t)) << c.name;
        EXPECT_EQ(t.GetResult(), c.result) << c.name;
        EXPECT_LE(t.GetContent().size(), c.sizeLimit) << c.name;
    }
}

TEST(HTTPTransfer, DestructorEndsARunningWorker)
{
    LoopbackServer server({Hold()});
    {
        HTTPTransfer t;
        t.Start(server.Address(), kRequest);
        ASSERT_EQ(server.RequestSeen().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    } // must not hang or touch freed memory
}

namespace {

// A demo stream of long records only: each record is its 5-bit command
// followed by its fields.
class FakeDemo : public Zelk::DemoRecordStream {
public:
    bool recording = false;
    bool playing = false;
    bool due = true;
    int consumed = 0;
    Zelk::Buffer buffer;

    bool IsRecordingDemo() override { return recording; }
    bool IsPlayingDemo() override { return playing; }
    void BeginLongRecord(int command) override { buffer.WriteBits(uint32_t(command), 5); }
    bool PendingRecord(bool& isShort, int& command) override
    {
        isShort = false;
        command = HTTPTransfer::kDemoCommand;
        return due;
    }
    void ConsumeRecord() override { ++consumed; }
    Zelk::Buffer& DemoBuffer() override { return buffer; }
};

struct DemoInstalled {
    explicit DemoInstalled(Zelk::DemoRecordStream* d) { Zelk::gDemoStream = d; }
    ~DemoInstalled() { Zelk::gDemoStream = nullptr; }
};

} // namespace

TEST(HTTPTransfer, RecordsEveryResultChange)
{
    const std::string big(40000, 'b');
    LoopbackServer server({WaitGate(), Send("HTTP/1.1 200 OK\r\n\r\n" + big)});
    FakeDemo demo;
    demo.recording = true;
    DemoInstalled installed(&demo);

    HTTPTransfer t;
    t.Start(server.Address(), kRequest);
    t.UpdateStatus(); // running: one record
    t.UpdateStatus(); // unchanged: none
    server.OpenGate();
    ASSERT_TRUE(Finish(t));
    t.UpdateStatus(); // done: a second record

    Zelk::Buffer& b = demo.buffer;
    EXPECT_EQ(b.ReadBits(5, false), 17);
    EXPECT_EQ(uint32_t(b.ReadLong()), t.GetTransferId());
    EXPECT_EQ(b.ReadByte(), HTTPTransfer::RESULT_RUNNING);
    EXPECT_EQ(b.ReadString(), "");
    EXPECT_EQ(b.ReadBits(5, false), 17);
    EXPECT_EQ(uint32_t(b.ReadLong()), t.GetTransferId());
    EXPECT_EQ(b.ReadByte(), HTTPTransfer::RESULT_DONE);
    // Content beyond a buffer string's limit is cut, and the stream stays whole.
    EXPECT_EQ(b.ReadString(), big.substr(0, Zelk::Buffer::kMaxStringLength));
    EXPECT_TRUE(b.AtEnd());
    EXPECT_EQ(t.GetContent(), big);
}

TEST(HTTPTransfer, PlaybackTakesOnlyItsOwnRecords)
{
    FakeDemo demo;
    demo.playing = true;
    DemoInstalled installed(&demo);

    HTTPTransfer t;
    t.Start("127.0.0.1:1/", kRequest); // no worker while a demo plays back
    EXPECT_TRUE(t.IsActive());
    EXPECT_EQ(t.GetResult(), HTTPTransfer::RESULT_RUNNING);

    // A record of another transfer is left where it is.
    demo.buffer.WriteLong(int32_t(t.GetTransferId() + 7));
    demo.buffer.WriteByte(0);
    demo.buffer.WriteString("not mine");
    t.UpdateStatus();
    EXPECT_EQ(demo.buffer.GetReadPos(), 0);
    EXPECT_EQ(demo.consumed, 0);
    EXPECT_EQ(t.GetResult(), HTTPTransfer::RESULT_RUNNING);

    // Its own record sets the result and the content.
    demo.buffer.Clear();
    demo.buffer.WriteLong(int32_t(t.GetTransferId()));
    demo.buffer.WriteByte(HTTPTransfer::RESULT_NOT_FOUND);
    demo.buffer.WriteString("recorded");
    demo.due = false; // not due yet: untouched
    t.UpdateStatus();
    EXPECT_EQ(demo.buffer.GetReadPos(), 0);
    demo.due = true;
    t.UpdateStatus();
    EXPECT_EQ(demo.consumed, 1);
    EXPECT_EQ(t.GetResult(), HTTPTransfer::RESULT_NOT_FOUND);
    EXPECT_EQ(t.GetContent(), "recorded");
    EXPECT_TRUE(demo.buffer.AtEnd());
}
