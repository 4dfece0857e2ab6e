#include "launcher/HttpPageView.h"
#include "launcher/PageText.h"
#include "platform/clock/MonotonicClock.h"
#include "platform/loop/EventLoop.h"
#include "platform/text/FreeTypeTextDevice.h"
#include "tests/framework/tools/LoopbackServer.h"
#include "tests/support/SilentResolver.h"

#include <gtest/gtest.h>

using namespace testsupport;
using vorsel::HttpPageView;

namespace {

struct View {
    plat::MonotonicClock clock;
    plat::EventLoop loop{clock};
    HttpPageView view{loop, nullptr};
    int completions = 0;
    bool inNavigate = false;
    bool completedInsideNavigate = false;
    View()
    {
        view.onDocumentComplete = [this] {
            ++completions;
            completedInsideNavigate = completedInsideNavigate || inNavigate;
        };
    }
    // Navigates, then runs the loop until the completion or a bound.
    void Load(const std::string& url, LoopbackServer* server)
    {
        inNavigate = true;
        view.Navigate(std::wstring(url.begin(), url.end()));
        inNavigate = false;
        if (server)
            server->RequestSeen().wait_for(std::chrono::seconds(10));
        // A bound for a page that never completes: the server has answered
        // (or gone) within this time.
        auto guard = loop.AddTimer([this] { loop.Terminate(); });
        loop.SetTimerInterval(guard, 3000);
        loop.SetTimerEnabled(guard, true);
        loop.RunUntil([this] { return completions > 0; });
    }
};

std::string Url(LoopbackServer& s, const std::string& path)
{
    return "http://" + s.Address().substr(0, s.Address().find('/')) + path;
}

} // namespace

TEST(HttpPageView, ACompletePageIsPostedAndItsSourceIsTheBody)
{
    const std::string body = "<html><body><p>Hello &amp; welcome</p></body></html>\r\n\xE9";
    LoopbackServer server({Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body)});
    View v;
    std::string source;
    EXPECT_FALSE(v.view.SaveDocumentSource(source)) << "nothing before a page completed";
    v.Load(Url(server, "/ad"), &server);
    EXPECT_EQ(v.completions, 1);
    EXPECT_FALSE(v.completedInsideNavigate);
    ASSERT_TRUE(v.view.SaveDocumentSource(source));
    EXPECT_EQ(source, body);
    EXPECT_EQ(v.view.Text(), L"Hello & welcome\n\u00E9");
}

TEST(HttpPageView, FailedPagesCompleteNothing)
{
    {
        LoopbackServer server({Send("HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nno")});
        View v;
        v.Load(Url(server, "/missing"), &server);
        EXPECT_EQ(v.completions, 0) << "404";
    }
    {
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = LoopbackServer::Loopback(0);
        bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        close(fd);
        View v;
        v.Load("http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/", nullptr);
        EXPECT_EQ(v.completions, 0) << "refused";
    }
    for (const char* url : {"https://127.0.0.1/", "file:///etc/hostname", "about:blank"}) {
        View v;
        v.Load(url, nullptr);
        EXPECT_EQ(v.completions, 0) << url;
    }
}

TEST(HttpPageView, ANewNavigationDropsTheOldOne)
{
    LoopbackServer slow({WaitGate(), Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nold")});
    LoopbackServer fast({Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nnew")});
    View v;
    const std::string slowUrl = Url(slow, "/");
    v.view.Navigate(std::wstring(slowUrl.begin(), slowUrl.end()));
    slow.RequestSeen().wait_for(std::chrono::seconds(10));
    v.Load(Url(fast, "/"), &fast);
    slow.OpenGate();
    v.loop.ProcessPending();
    std::string source;
    ASSERT_TRUE(v.view.SaveDocumentSource(source));
    EXPECT_EQ(source, "new");
    EXPECT_EQ(v.completions, 1);
}

// The launcher ends (and its page view goes) when the page-load limit
// starts the game; a page whose host name is still being looked up must not
// hold the launcher until the name server gives up.
TEST(HttpPageView, GoingWhileThePagesNameIsLookedUpDoesNotWaitForTheNameServer)
{
    testsupport::SilentResolver silent;
    {
        View v;
        v.view.Navigate(L"http://ad.example/");
        ASSERT_TRUE(silent.WaitAsked());
    }
    EXPECT_EQ(silent.Answered(), 0) << "the view waited for the name server";
}

TEST(HttpPageView, DrawsTheTextBlackOnTheCanvas)
{
    const std::string body = "<p>Advertisement</p>";
    LoopbackServer server({Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body)});
    plat::FreeTypeTextDevice text;
    plat::MonotonicClock clock;
    plat::EventLoop loop(clock);
    HttpPageView view(loop, &text);
    bool done = false;
    view.onDocumentComplete = [&] { done = true; };
    const std::string url = Url(server, "/");
    view.Navigate(std::wstring(url.begin(), url.end()));
    loop.RunUntil([&] { return done; });
    std::vector<uint32_t> pixels(200 * 100, 0xFFFFFFFFu);
    vorsel::Canvas canvas{pixels.data(), 200, 100, 200};
    view.SetBounds(0, 0, 1, 1);
    view.Draw(canvas);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFFFFFFFFu), 200 * 100) << "nothing shows in a 1 x 1 view";
    view.SetBounds(0, 0, 200, 100);
    view.Draw(canvas);
    int dark = 0;
    for (uint32_t p : pixels)
        dark += (p & 0xFF) < 0x80;
    EXPECT_GT(dark, 20) << "the text is drawn (DejaVu Sans from fonts-dejavu-core)";
}

TEST(PageText, HtmlToPlainText)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"plain", L"plain"},
        {L"<p>a</p><p>b</p>", L"a\nb"},
        {L"a<br>b<br/>c", L"a\nb\nc"},
        {L"<script>var x = '<p>no</p>';</script>yes", L"yes"},
        {L"<STYLE>p { color: red }</STYLE>x", L"x"},
        {L"<!-- <p>hidden</p> -->shown", L"shown"},
        {L"&lt;&gt;&amp;&quot;&apos;&nbsp;", L"<>&\"' "},
        {L"&#65;&#x42;&#X43;", L"ABC"},
        {L"&#0;&#99999999999;&#xD800;", L"\uFFFD&#99999999999;\uFFFD"},
        {L"&bogus; & &#;", L"&bogus; & &#;"},
        {L"  many   blanks\n\tand\r\nlines  ", L"many blanks and lines"},
        {L"<b>bold</b> <i>it</i>", L"bold it"},
        {L"a < b > c", L"a < b > c"},
        {L"<div><div><p>deep</p></div></div><p>x</p>", L"deep\nx"},
        {L"<a href='x'>link</a>", L"link"},
        {L"<td>1</td><td>2</td>", L"1 2"},
        {L"<p>unclosed <b", L"unclosed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vorsel::PageTextFromHtml(c.first), c.second) << c.first;
}

TEST(PageText, WrapsAtBlanksAndBreaksLongWords)
{
    auto width = [](const std::wstring& s) { return int(s.size()); };
    EXPECT_EQ(vorsel::WrapText(L"aa bb cc dd", 5, width), (std::vector<std::wstring>{L"aa bb", L"cc dd"}));
    EXPECT_EQ(vorsel::WrapText(L"abcdefgh", 3, width), (std::vector<std::wstring>{L"abc", L"def", L"gh"}));
    EXPECT_EQ(vorsel::WrapText(L"a\n\nb", 3, width), (std::vector<std::wstring>{L"a", L"", L"b"}));
    EXPECT_EQ(vorsel::WrapText(L"x", 0, width), (std::vector<std::wstring>{L"x"})) << "a zero width still ends";
}
