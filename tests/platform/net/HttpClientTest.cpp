#include "platform/loop/Canceller.h"
#include "platform/net/HttpClient.h"
#include "platform/net/HttpResponseParser.h"
#include "tests/framework/tools/LoopbackServer.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

struct Outcome {
    plat::HttpResult result;
    int64_t elapsedMs;
};

Outcome Get(LoopbackServer& server, const std::string& path, int64_t budgetMs = 3000, size_t cap = 1 << 20,
            int redirects = 0)
{
    plat::HttpGetOptions o;
    o.budgetMs = budgetMs;
    o.bodyCap = cap;
    o.maxRedirects = redirects;
    const auto start = ServerClock::now();
    const std::string host = server.Address().substr(0, server.Address().find('/'));
    Outcome out{plat::HttpGet("http://" + host + path, o), 0};
    out.elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(ServerClock::now() - start).count();
    return out;
}

std::vector<Step> Trickle(const std::string& text, int everyMs)
{
    std::vector<Step> s;
    for (char c : text) {
        s.push_back(Send(std::string(1, c)));
        s.push_back(Pause(everyMs));
    }
    return s;
}

} // namespace

TEST(HttpClient, SendsExactlyTheLaunchersRequest)
{
    LoopbackServer server({Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")});
    const Outcome o = Get(server, "/conf dir/v\xC3\xA9.txt?a=1#frag");
    ASSERT_TRUE(o.result.ok) << o.result.error;
    const std::string host = server.Address().substr(0, server.Address().find('/'));
    EXPECT_EQ(server.Request(), "GET /conf%20dir/v%C3%A9.txt?a=1 HTTP/1.1\r\n"
                                "Host: " + host + "\r\n"
                                "Accept: text/html, */*\r\n"
                                "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                                "Connection: close\r\n"
                                "\r\n");
}

TEST(HttpClient, BodiesByLengthChunksAndClose)
{
    struct Case {
        const char* name;
        std::vector<Step> script;
        bool ok;
        int status;
        std::string body;
    } cases[] = {
        {"content length", {Send("HTTP/1.1 200 OK\r\ncontent-LENGTH: 5\r\n\r\nhello")}, true, 200, "hello"},
        {"chunked", {Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5;x=y\r\nhel"), Pause(20),
                     Send("lo\r\nB\r\n 01234567\r\n\r\n0\r\nTrailer: t\r\n\r\n")}, true, 200, "hello 01234567\r\n"},
        {"until close", {Send("HTTP/1.0 200 OK\r\n\r\nto the end")}, true, 200, "to the end"},
        {"204", {Send("HTTP/1.1 204 No Content\r\n\r\n"), Hold()}, true, 204, ""},
        {"100-continue first", {Send("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx")},
         true, 200, "x"},
        {"301 fails", {Send("HTTP/1.1 301 Moved\r\nLocation: /elsewhere\r\nContent-Length: 0\r\n\r\n")}, false, 301, ""},
        {"404 fails", {Send("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nno!")}, false, 404, ""},
        {"LF only", {Send("HTTP/1.1 200 OK\nContent-Length: 2\n\nok")}, true, 200, "ok"},
        {"the same length twice", {Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\ncontent-length: 2\r\n\r\nok")},
         true, 200, "ok"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server(c.script);
        const Outcome o = Get(server, "/");
        EXPECT_EQ(o.result.ok, c.ok) << o.result.error;
        EXPECT_EQ(o.result.status, c.status);
        EXPECT_EQ(o.result.body, c.body);
    }
}

TEST(HttpClient, HostileServersFailByTheirDeadlineOrCap)
{
    const std::string longLine = "X-Long: " + std::string(9000, 'a') + "\r\n";
    std::string manyHeaders;
    for (int i = 0; i < 101; ++i)
        manyHeaders += "X-" + std::to_string(i) + ": v\r\n";
    std::vector<Step> endless{Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n")};
    for (int i = 0; i < 200; ++i) {
        endless.push_back(Send("1\r\nx\r\n"));
        endless.push_back(Pause(10));
    }
    struct Case {
        const char* name;
        std::vector<Step> script;
        const char* error;
        size_t cap = 1 << 20;
    } cases[] = {
        {"truncated body", {Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort")}, "connection closed early"},
        {"truncated chunk", {Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab")},
         "connection closed early"},
        {"10 GB announced", {Send("HTTP/1.1 200 OK\r\nContent-Length: 10000000000\r\n\r\n"), Hold()}, "body too large"},
        {"body over the cap", {Send("HTTP/1.1 200 OK\r\n\r\n" + std::string(2000, 'b'))}, "body too large", 1000},
        {"chunks over the cap", {Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n800\r\n")},
         "body too large", 1000},
        {"endless chunks", endless, "timed out"},
        {"accepts, never answers", {Hold()}, "timed out"},
        {"a byte every 100 ms", Trickle("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx", 100), "timed out"},
        {"garbage status line", {Send("HTTP/9 200 fine\r\n\r\n")}, "bad status line"},
        {"not HTTP at all", {Send("\x16\x03\x01 hello")}, "connection closed early"},
        {"bad status code", {Send("HTTP/1.1 2x0 OK\r\n\r\n")}, "bad status code"},
        {"bad chunk size", {Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n")}, "bad chunk size"},
        {"huge chunk size", {Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFFFFFF\r\n")},
         "bad chunk size"},
        {"over-long header line", {Send("HTTP/1.1 200 OK\r\n" + longLine + "\r\n")}, "line too long"},
        {"too many header lines", {Send("HTTP/1.1 200 OK\r\n" + manyHeaders + "\r\n")}, "too many header lines"},
        {"two different lengths",
         {Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 10\r\n\r\nabcdefghij")},
         "conflicting content lengths"},
        {"a length, then one that is no number",
         {Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: x\r\n\r\nabc")}, "bad content length"},
        {"unknown coding", {Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n")}, "unknown transfer coding"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server(c.script);
        const Outcome o = Get(server, "/", 700, c.cap);
        EXPECT_FALSE(o.result.ok);
        EXPECT_EQ(o.result.error, c.error);
        EXPECT_LT(o.elapsedMs, 700 + 5000) << "hang guard";
    }
}

TEST(HttpClient, RefusedUnknownAndCancelled)
{
    plat::HttpGetOptions o;
    o.budgetMs = 2000;
    // A port nobody listens on: bind one, close it again.
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = LoopbackServer::Loopback(0);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    close(fd);
    EXPECT_EQ(plat::HttpGet("http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/", o).error,
              "connection refused");
    EXPECT_EQ(plat::HttpGet("https://127.0.0.1/", o).error, "not an http address");
    EXPECT_EQ(plat::HttpGet("http://127.0.0.1:99999/", o).error, "not an http address");

    LoopbackServer server({Hold()});
    plat::Canceller cancel;
    o.cancel = &cancel;
    o.budgetMs = 60000;
    std::thread canceller([&] {
        server.RequestSeen().wait_for(std::chrono::seconds(10));
        cancel.Cancel();
    });
    const std::string host = server.Address().substr(0, server.Address().find('/'));
    EXPECT_EQ(plat::HttpGet("http://" + host + "/", o).error, "cancelled");
    canceller.join();
}

TEST(HttpClient, RedirectsAreFollowedOnlyWhenAsked)
{
    LoopbackServer target({Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nhere")});
    const std::string targetHost = target.Address().substr(0, target.Address().find('/'));
    LoopbackServer first({Send("HTTP/1.1 302 Found\r\nLocation: http://" + targetHost + "/t\r\nContent-Length: 0\r\n\r\n")});
    const Outcome o = Get(first, "/", 3000, 1 << 20, 5);
    ASSERT_TRUE(o.result.ok) << o.result.error;
    EXPECT_EQ(o.result.body, "here");
    EXPECT_EQ(o.result.finalUrl, "http://" + targetHost + "/t");
}

TEST(HttpUrl, PartsOfAnAddress)
{
    plat::HttpUrl u;
    ASSERT_TRUE(plat::ParseHttpUrl("HTTP://Host:8080", u));
    EXPECT_EQ(u.host, "Host");
    EXPECT_EQ(u.port, 8080);
    EXPECT_EQ(u.path, "/");
    EXPECT_EQ(u.hostHeader, "Host:8080");
    ASSERT_TRUE(plat::ParseHttpUrl("http://h?q=1", u));
    EXPECT_EQ(u.path, "/?q=1");
    EXPECT_FALSE(plat::ParseHttpUrl("http://:80/", u));
    EXPECT_FALSE(plat::ParseHttpUrl("http://h:0/", u));
    EXPECT_FALSE(plat::ParseHttpUrl("http://h:8x/", u));
    EXPECT_FALSE(plat::ParseHttpUrl("ftp://h/", u));
}
