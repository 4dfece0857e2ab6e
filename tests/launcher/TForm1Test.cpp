#include "LauncherFakes.h"
#include "launcher/TForm1.h"
#include "platform/NullPlatform.h"
#include "platform/loop/NullEventLoop.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace vorsel;
using namespace vorseltest;

namespace {

constexpr int64_t kNever = -1;

// The ten lines of a configuration, each given or the default.
struct Ini {
    std::string url_vorsel = "";
    std::string url_ad = "http://ad/";
    std::string conf = "5";
    std::string ldng_ad = "10";
    std::string ad = "20";
    std::string size = "800 600";
    std::string caption = "Cap";
    std::string icon = "";
    std::string exe = "Quillmore";
    std::string can_close = "1";
    std::string Text() const
    {
        return url_vorsel + "\r\n" + url_ad + "\r\n" + conf + "\r\n" + ldng_ad + "\r\n" + ad + "\r\n" + size + "\r\n" +
               caption + "\r\n" + icon + "\r\n" + exe + "\r\n" + can_close;
    }
};

struct Scenario {
    const char* name;
    std::string ini;
    // The update host.
    bool echo = true;
    bool getOk = true;
    std::string body;
    // Pages: address, completion delays after the navigation, source.
    std::vector<std::pair<std::wstring, FakePageView::Page>> pages;
    std::vector<uint32_t> closeAt; // window close requests, ms after start
    int64_t signalAt = kNever;     // SIGTERM, ms after start
    // What must happen.
    std::vector<std::wstring> navigated;
    int64_t navigatedAt = kNever;
    int64_t gameAt = kNever; // kNever: the game is never started
    bool ended = true;
};

std::string Body(Ini ini)
{
    return ini.Text();
}

// One launcher run in simulated time, until it ends or ten minutes passed.
struct LauncherRun {
    plat::NullPlatform p;
    plat::NullEventLoop loop{p.clock};
    FakeNetwork net{loop, p.clock};
    FakePageView browser{loop, p.clock};
    FakeHost host{p.clock};
    StillPicture picture;
    std::unique_ptr<TForm1> form;
    std::vector<std::unique_ptr<OneShot>> shots;

    explicit LauncherRun(const Scenario& s)
    {
        host.files["/game/vorsel.ini"] = s.ini;
        host.files["/game/Quillmore"] = "game";
        net.echoAnswers = s.echo;
        net.getOk = s.getOk;
        net.body = s.body;
        for (const auto& page : s.pages)
            browser.pages[page.first] = page.second;
        form = std::make_unique<TForm1>(TForm1::Parts{&loop, &p.windows, &browser, &net, &host, &picture}, "/game/");
        // Requests made from outside come after the form's own timers at the
        // same time, so a request due with a form timer lands in its pump.
        for (uint32_t at : s.closeAt)
            Later(at, [this] { p.windows.Queue().Post({plat::WM_CLOSE, 0, 0}); });
        if (s.signalAt != kNever)
            Later(uint32_t(s.signalAt), [this] { form->TerminationRequested(); });
    }
    void Later(uint32_t at, std::function<void()> work)
    {
        shots.push_back(std::make_unique<OneShot>(loop));
        shots.back()->At(at, std::move(work));
    }
    void Go(uint32_t limitMs = 600000)
    {
        bool over = false;
        Later(limitMs, [&] { over = true; });
        form->FormCreate();
        form->Show();
        loop.RunUntil([&] { return over || form->Ended(); });
    }
};

void Check(const Scenario& s)
{
    SCOPED_TRACE(s.name);
    LauncherRun r(s);
    r.Go();
    EXPECT_EQ(r.browser.navigated, s.navigated);
    if (s.navigatedAt != kNever && !r.browser.navigatedAt.empty()) {
        EXPECT_EQ(r.browser.navigatedAt[0], uint32_t(s.navigatedAt));
    }
    if (s.gameAt == kNever) {
        EXPECT_TRUE(r.host.started.empty()) << "started at " << r.host.started[0].atMs;
    } else {
        ASSERT_EQ(r.host.started.size(), 1u);
        EXPECT_EQ(r.host.started[0].atMs, uint32_t(s.gameAt));
        EXPECT_EQ(r.host.started[0].path, "Quillmore");
    }
    EXPECT_EQ(r.form->Ended(), s.ended);
}

FakePageView::Page Completes(std::vector<uint32_t> after, std::string source = "<p>ad</p>")
{
    return FakePageView::Page{std::move(after), std::move(source)};
}

} // namespace

TEST(Launcher, ReadingTheConfigurationDecidesTheRoad)
{
    auto with = [](auto change) {
        Ini ini;
        ini.ldng_ad = "0"; // a good configuration starts the game at once
        change(ini);
        return ini.Text();
    };
    const Scenario cases[] = {
        {"good", with([](Ini&) {}), .gameAt = 0},
        {"two blanks in the size", with([](Ini& i) { i.size = "800  600"; }), .gameAt = 0},
        {"x in the size", with([](Ini& i) { i.size = "800x600"; })},
        {"blank after the size", with([](Ini& i) { i.size = "800 600 "; })},
        {"blank before the size", with([](Ini& i) { i.size = " 800 600"; })},
        {"tab in the size", with([](Ini& i) { i.size = "800\t600"; })},
        {"bad integer", with([](Ini& i) { i.conf = "1e3"; })},
        {"too large", with([](Ini& i) { i.ad = "2147483648"; })},
        {"hex", with([](Ini& i) { i.conf = "-$10"; }), .gameAt = 0},
        {"empty game path", with([](Ini& i) { i.exe = ""; })},
        {"nine lines", "\r\nhttp://ad/\r\n5\r\n0\r\n20\r\n800 600\r\nCap\r\n\r\nQuillmore"},
        {"no file", ""},
    };
    for (const Scenario& s : cases)
        Check(s);
}

TEST(Launcher, AdvertisementRoads)
{
    const std::wstring ad = L"http://ad/";
    auto with = [](auto change) {
        Ini ini;
        change(ini);
        return ini.Text();
    };
    const Scenario cases[] = {
        {"page never completes: game at max_time_ldng_ad", with([](Ini&) {}), .navigated = {ad}, .navigatedAt = 0,
         .gameAt = 10000},
        {"page completes at t: game at t + max_time_ad", with([](Ini&) {}), .pages = {{ad, Completes({3000})}},
         .navigated = {ad}, .gameAt = 23000},
        {"a second completion 1 s later changes nothing", with([](Ini&) {}),
         .pages = {{ad, Completes({3000, 4000})}}, .navigated = {ad}, .gameAt = 23000},
        {"max_time_ldng_ad 0: game at once, no page", with([](Ini& i) { i.ldng_ad = "0"; }), .gameAt = 0},
        {"max_time_ad 0: game at once, no page", with([](Ini& i) { i.ad = "0"; }), .gameAt = 0},
        {"negative max_time_ad: never ends by itself", with([](Ini& i) { i.ad = "-1"; }),
         .pages = {{ad, Completes({1000})}}, .navigated = {ad}, .ended = false},
        {"negative max_time_ldng_ad: the longest wait", with([](Ini& i) { i.ldng_ad = "-1"; }), .navigated = {ad},
         .ended = false},
        {"4294968 s does not wrap to 704 ms", with([](Ini& i) { i.ldng_ad = "4294968"; }), .navigated = {ad},
         .ended = false},
        {"close page, can_close 1: game", with([](Ini&) {}), .pages = {{ad, Completes({500}, "close")}},
         .navigated = {ad}, .gameAt = 500},
        {"close page, can_close 0: end without game", with([](Ini& i) { i.can_close = "0"; }),
         .pages = {{ad, Completes({500}, "close")}}, .navigated = {ad}},
        {"close page, can_close 256 counts as 0", with([](Ini& i) { i.can_close = "256"; }),
         .pages = {{ad, Completes({500}, "close")}}, .navigated = {ad}},
        {"\"close\\n\" is an ordinary page", with([](Ini&) {}), .pages = {{ad, Completes({500}, "close\n")}},
         .navigated = {ad}, .gameAt = 20500},
        {"\"Close\" is an ordinary page", with([](Ini&) {}), .pages = {{ad, Completes({500}, "Close")}},
         .navigated = {ad}, .gameAt = 20500},
        {"\" close\" is an ordinary page", with([](Ini&) {}), .pages = {{ad, Completes({500}, " close")}},
         .navigated = {ad}, .gameAt = 20500},
        {"window closed while showing, can_close 1", with([](Ini&) {}), .pages = {{ad, Completes({500})}},
         .closeAt = {7000}, .navigated = {ad}, .gameAt = 7000},
        {"window closed while showing, can_close 0", with([](Ini& i) { i.can_close = "0"; }),
         .pages = {{ad, Completes({500})}}, .closeAt = {7000}, .navigated = {ad}},
        {"close inside Timer1Timer's pump: one start", with([](Ini&) {}), .closeAt = {10000}, .navigated = {ad},
         .gameAt = 10000},
        {"close inside Timer2Timer's pump: one start", with([](Ini&) {}), .pages = {{ad, Completes({1000})}},
         .closeAt = {21000}, .navigated = {ad}, .gameAt = 21000},
        {"SIGTERM ends without the game", with([](Ini&) {}), .pages = {{ad, Completes({1000})}}, .signalAt = 5000,
         .navigated = {ad}},
    };
    for (const Scenario& s : cases)
        Check(s);
}

TEST(Launcher, UpdateCheck)
{
    const std::wstring local = L"http://ad/", remote = L"http://remote-ad/";
    auto with = [](auto change) {
        Ini ini;
        ini.url_vorsel = "http://upd/conf.txt";
        change(ini);
        return ini.Text();
    };
    Ini good;
    good.url_ad = "http://remote-ad/";
    good.exe = "Remote";
    Ini badTen = good;
    badTen.can_close = "x";
    const std::string nineLines = good.Text().substr(0, good.Text().rfind("\r\n"));
    const Scenario cases[] = {
        {"no echo: game at once, no page", with([](Ini&) {}), .echo = false, .gameAt = 2000 + 1000},
        {"echo, failed download: local page", with([](Ini&) {}), .getOk = false, .navigated = {local},
         .navigatedAt = 2000 + 10 + 4000, .gameAt = 2000 + 10 + 4000 + 10000},
        {"echo, good download: remote page", with([](Ini&) {}), .body = Body(good), .navigated = {remote},
         .navigatedAt = 2020, .gameAt = 2020 + 10000},
        {"nine downloaded lines: nothing used", with([](Ini&) {}), .body = nineLines, .navigated = {local},
         .gameAt = 2020 + 10000},
        {"bad line 10 downloaded: nothing used", with([](Ini&) {}), .body = Body(badTen), .navigated = {local},
         .gameAt = 2020 + 10000},
        {"capital scheme pings \"HTTP:\" and fails", with([](Ini& i) { i.url_vorsel = "HTTP://upd/c"; }),
         .echo = false, .gameAt = 3000},
        {"budget 0: the echo fails at once", with([](Ini& i) { i.conf = "0"; }), .gameAt = 2000},
        {"negative budget: the echo fails at once", with([](Ini& i) { i.conf = "-3"; }), .gameAt = 2000},
        {"close during the check: one start", with([](Ini&) {}), .body = Body(good), .closeAt = {2015},
         .gameAt = 2015},
        {"close during the check, can_close 0: no start", with([](Ini& i) { i.can_close = "0"; }),
         .body = Body(good), .closeAt = {2005}},
        {"SIGTERM while waiting: no start", with([](Ini&) {}), .signalAt = 1000},
    };
    for (const Scenario& s : cases)
        Check(s);
}

TEST(Launcher, TheCheckUsesItsBudgetsAndHostAndKeepsTheLocalGame)
{
    Ini ini;
    ini.url_vorsel = "http://upd/conf.txt";
    ini.conf = "5";
    Ini remote;
    remote.url_ad = "http://remote-ad/";
    remote.caption = "Remote caption";
    remote.size = "300 200";
    remote.exe = "Remote";
    remote.can_close = "0";
    remote.ad = "7";
    Scenario s{"merge", ini.Text(), .body = remote.Text(), .pages = {{L"http://remote-ad/", Completes({100})}},
               .closeAt = {2500}};
    LauncherRun r(s);
    r.Go();
    ASSERT_EQ(r.net.echoTimes, (std::vector<uint32_t>{2000}));
    EXPECT_EQ(r.net.echoHosts, (std::vector<std::string>{"upd"}));
    EXPECT_EQ(r.net.echoTimeouts, (std::vector<int64_t>{1000}));
    EXPECT_EQ(r.net.getUrls, (std::vector<std::string>{"http://upd/conf.txt"}));
    EXPECT_EQ(r.net.getBudgets, (std::vector<int64_t>{4000}));
    EXPECT_EQ(r.form->Opt().caption, L"Remote caption");
    EXPECT_EQ(r.form->Opt().path_execute, L"Quillmore");
    EXPECT_EQ(r.form->Opt().can_close, 0);
    // can_close 0 from the download: the close at 2500 ends without a game.
    EXPECT_TRUE(r.host.started.empty());
    auto* w = r.p.windows.Find(r.form->Window());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->desc.title, L"Remote caption");
    EXPECT_EQ(w->desc.width, 300);
    EXPECT_EQ(w->desc.height, 200);
    EXPECT_FALSE(r.form->Image1Visible());
    EXPECT_EQ(r.browser.Width(), 300) << "the page fills the client area during the check";
}

TEST(Launcher, HostIsCutOutOfTheUpdateAddress)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"http://h/p", L"h"},         {L"HTTP://h/p", L"HTTP:"}, {L"http://h:81/p", L"h:81"},
        {L"h/p/q", L"h"},              {L"x http://h/p", L"h"},   {L"http://h", L"h"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TForm1::EchoHost(c.first), c.second) << c.first;
}

TEST(Launcher, IntervalsAndBudgetsNeverWrap)
{
    EXPECT_EQ(TForm1::TimerMs(10), 10000u);
    EXPECT_EQ(TForm1::TimerMs(4294968), 0x7FFFFFFFu);
    EXPECT_EQ(TForm1::TimerMs(536870912), 0x7FFFFFFFu);
    EXPECT_EQ(TForm1::TimerMs(-1), 0x7FFFFFFFu);
    EXPECT_EQ(TForm1::BudgetMs(2684355, 800), 0x7FFFFFFF);
    EXPECT_EQ(TForm1::BudgetMs(-1, 200), -200);
}

TEST(Launcher, WithoutUpdateAddressTheBusyPictureStaysAndTheViewIs1x1)
{
    Ini ini;
    Scenario s{"no update", ini.Text(), .pages = {{L"http://ad/", Completes({100})}}, .closeAt = {5000}};
    LauncherRun r(s);
    r.Go();
    EXPECT_TRUE(r.form->Image1Visible());
    EXPECT_EQ(r.browser.Width(), 1);
    EXPECT_EQ(r.browser.Height(), 1);
    int w = 0, h = 0;
    const std::vector<uint32_t> frame = r.p.windows.LastFrame(w, h);
    ASSERT_EQ(w, 800);
    ASSERT_EQ(h, 600);
    EXPECT_EQ(frame[0], 0xFFFFFFFFu) << "white background";
    bool picture = false;
    for (int y = 224; y < 256; ++y)
        for (int x = 304; x < 336; ++x)
            picture = picture || frame[size_t(y) * 800 + x] != 0xFFFFFFFFu;
    EXPECT_TRUE(picture) << "the busy picture at (304, 224)";
}

TEST(Launcher, WindowSidesAreClampedAndAnIconThatIsNoIconIsSkipped)
{
    Ini ini;
    ini.size = "-5 99999";
    ini.icon = "/game/bad.ico";
    Scenario s{"clamp", ini.Text(), .pages = {{L"http://ad/", Completes({100})}}};
    LauncherRun r(s);
    r.host.files["/game/bad.ico"] = "not an icon";
    r.Go(30000);
    auto* w = r.p.windows.Find(r.form->Window());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->desc.width, 1);
    EXPECT_EQ(w->desc.height, 16384);
    EXPECT_EQ(r.browser.navigated.size(), 1u) << "the advertisement goes on after the icon";
    EXPECT_EQ(r.host.started.size(), 1u);
    EXPECT_EQ(w->iconWidth, 0);

    ini.icon = "/game/good.ico";
    Scenario good{"good icon", ini.Text(), .pages = {{L"http://ad/", Completes({100})}}};
    LauncherRun r2(good);
    std::ifstream in(std::string(ZELK_FIXTURES) + "/../../fuzz/launcher/corpus/ico/dib32.ico", std::ios::binary);
    r2.host.files["/game/good.ico"].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    r2.Go(30000);
    auto* w2 = r2.p.windows.Find(r2.form->Window());
    ASSERT_NE(w2, nullptr);
    EXPECT_EQ(w2->iconWidth, 2);
    EXPECT_EQ(w2->iconHeight, 2);
}

TEST(Launcher, RunGameOutsideItsFolderStillStartsAndEnds)
{
    Ini ini;
    ini.ldng_ad = "0";
    Scenario s{"chdir fails", ini.Text()};
    LauncherRun r(s);
    r.host.chdirWorks = false;
    r.host.files["/elsewhere/vorsel.ini"] = ini.Text(); // read through the current folder's name
    r.host.files["/game/Quillmore"] = "game";
    r.Go();
    ASSERT_EQ(r.host.started.size(), 1u);
    EXPECT_EQ(r.host.started[0].path, "/game/Quillmore");
    EXPECT_EQ(r.host.started[0].folder, "/game/");
    EXPECT_TRUE(r.form->Ended());
}

TEST(Launcher, AMissingGameEndsWithoutStarting)
{
    Ini ini;
    ini.ldng_ad = "0";
    Scenario s{"no game", ini.Text()};
    LauncherRun r(s);
    r.host.files.erase("/game/Quillmore");
    r.Go();
    EXPECT_TRUE(r.host.started.empty());
    EXPECT_TRUE(r.form->Ended());
}
