// A run of the empty framework application recorded into a demo file and
// played back from it: the replay must repeat the run update by update.
// Damaged demo files must fail to open or play to their end.
#include "DemoAppFixture.h"
#include "framework/app/DemoFile.h"
#include "framework/app/MersenneTwister.h"
#include "framework/app/Random.h"
#include "framework/app/StringUtil.h"
#include "platform/app/ExitCodes.h"
#include "platform/settings/SettingsStore.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <iterator>
#include <random>

using namespace Zelk;

namespace {

const std::string kKey = "SOFTWARE\\Test Co\\Test Game";
constexpr int kLoadedAt = 20;
constexpr int kCloseAt = 70;

// Everything a run leaves behind that the replay must repeat.
struct RunResult {
    std::vector<std::string> events; // the probe's, with update counts
    std::vector<std::string> notes;  // hook answers and the loading completion
    int32_t updates = 0;
    bool active = false, hasFocus = false, mouseIn = false, loadingHandled = false;
    int32_t muteCount = 0;
    int mouseX = 0, mouseY = 0;

    bool operator==(const RunResult& o) const
    {
        return events == o.events && notes == o.notes && updates == o.updates && active == o.active &&
               hasFocus == o.hasFocus && mouseIn == o.mouseIn && loadingHandled == o.loadingHandled &&
               muteCount == o.muteCount && mouseX == o.mouseX && mouseY == o.mouseY;
    }
};

std::ostream& operator<<(std::ostream& out, const RunResult& r)
{
    out << "updates " << r.updates << " active " << r.active << " focus " << r.hasFocus << " mouseIn " << r.mouseIn
        << " loaded " << r.loadingHandled << " mute " << r.muteCount << " mouse " << r.mouseX << "," << r.mouseY
        << "\n";
    for (const std::string& e : r.events)
        out << "  event " << e << "\n";
    for (const std::string& n : r.notes)
        out << "  note " << n << "\n";
    return out;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

class DemoRoundTrip : public AppTest {
protected:
    void SetUp() override
    {
        platform.settings.SetDword(kKey, "Level", 7);
        dir.Write("level.txt", "level data");
    }

    // What the user does in the recording run, by update count.
    void Script(DemoApp& app)
    {
        auto post = [this](const plat::WindowMessage& m) { platform.windows.Queue().Post(m); };
        switch (app.mUpdateCount) {
        case 3:
            post(MouseMessage(plat::WM_MOUSEMOVE, 100, 100));
            post(MouseMessage(plat::WM_LBUTTONDOWN, 100, 100));
            break;
        case 5:
            post(MouseMessage(plat::WM_MOUSEMOVE, 120, 90));
            post(MouseMessage(plat::WM_LBUTTONUP, 118, 92));
            break;
        case 8:
            post(KeyMessage(plat::WM_KEYDOWN, 'A'));
            post(KeyMessage(plat::WM_CHAR, 'a'));
            post(KeyMessage(plat::WM_KEYUP, 'A'));
            break;
        case 10:
            post(WheelMessage(-240));
            break;
        case kLoadedAt: // the loading thread finishes here
            app.releaseLoading = true;
            EXPECT_TRUE(WaitFor([&app] { return app.mLoadingFinished.load(); }));
            break;
        case 12: // the mouse leaves the window, as the window's timer finds
            platform.windows.mouseInside = false;
            post({plat::WM_TIMER, 100, 0});
            break;
        case 14:
            platform.windows.mouseInside = true;
            post({plat::WM_TIMER, 100, 0});
            post(MouseMessage(plat::WM_MOUSEMOVE, 700, 500));
            break;
        case 30:
            post({plat::WM_ACTIVATEAPP, 0, 0});
            break;
        case 33:
            post({plat::WM_ACTIVATEAPP, 1, 0});
            break;
        case 40:
            post(MouseMessage(plat::WM_RBUTTONDBLCLK, 700, 500));
            post(MouseMessage(plat::WM_RBUTTONUP, 690, 510));
            break;
        case kCloseAt:
            post({plat::WM_CLOSE, 0, 0});
            break;
        }
    }

    // What the program takes from outside, the same code in both runs; the
    // live values differ between the runs.
    void Hooks(DemoApp& app, const std::string& live)
    {
        switch (app.mUpdateCount) {
        case 4: {
            bool value = live == "recording";
            app.DemoSyncBool(value);
            app.Note(value ? "bool true" : "bool false");
            break;
        }
        case 6: {
            std::string text = "clipboard of the " + live;
            app.DemoSyncString(text);
            app.Note("string " + text);
            break;
        }
        case 7: {
            Buffer b;
            b.WriteLong(int32_t(live.size()));
            app.DemoSyncBuffer(b);
            app.Note(StrFormat("buffer %d bytes %d", b.GetDataLen(), b.ReadLong()));
            break;
        }
        case 9: {
            int32_t level = -1;
            const bool found = app.RegistryReadInteger("Level", &level);
            app.Note(StrFormat("registry %d %d", found, level));
            break;
        }
        case 11: {
            const uint32_t score = 1234;
            app.Note(StrFormat("write %d", app.RegistryWrite("Score", plat::REG_DWORD, &score, 4)));
            break;
        }
        case 13: {
            Buffer b;
            const bool found = app.ReadBufferFromFile(dir / "level.txt", b, false);
            app.Note(StrFormat("file %d %d", found, b.GetDataLen()));
            break;
        }
        case 20:
            app.Note(StrFormat("random %d %d %u", Rand(), RandomInt(0, 1000), gMersenneTwister.mState[1]));
            break;
        }
    }

    // Runs the application from Init to its end.
    std::unique_ptr<DemoApp> Run(const std::string& switches, const std::string& live, uint32_t clockStart)
    {
        platform.clock.Set(clockStart);
        platform.windows.mouseInside = true;
        auto app = std::make_unique<DemoApp>(switches);
        DemoApp& a = *app;
        a.mLoadingThreadWanted = true;
        // The recording run's loading ends where the script says; the
        // replay's is not done before the replay has waited for it there.
        a.loadContent = [&a] {
            EXPECT_TRUE(WaitFor([&a] { return a.mPlayingDemo ? a.heldForLoading.load() : a.releaseLoading.load(); }));
        };
        a.onUpdate = [this, &a, live] {
            if (a.mRecordingDemo)
                Script(a);
            else if (a.mUpdateCount == 15) // live input while playing back goes nowhere
                platform.windows.Queue().Post(KeyMessage(plat::WM_KEYDOWN, 'Z'));
            Hooks(a, live);
            if (a.mUpdateCount > 5000)
                a.Shutdown(); // never reached when the replay works
        };
        ConnectCompletionHook(a, live);
        a.Init();
        a.Start();
        return app;
    }

    // The loading completion takes a value from outside too.
    static void ConnectCompletionHook(DemoApp& a, const std::string& live)
    {
        a.onLoadingComplete = [&a, live] {
            std::string text = "loaded in the " + live;
            a.DemoSyncString(text);
            a.Note(text);
        };
    }

    static RunResult Result(DemoApp& app)
    {
        RunResult r;
        r.events = app.StampedEvents();
        r.notes = app.notes;
        r.updates = app.mUpdateCount;
        r.active = app.mActive;
        r.hasFocus = app.mHasFocus;
        r.mouseIn = app.mMouseIn;
        r.loadingHandled = app.mLoadingCompleteHandled;
        r.muteCount = app.mMuteCount;
        r.mouseX = app.mWidgetManager->mLastMouseX;
        r.mouseY = app.mWidgetManager->mLastMouseY;
        return r;
    }

    // Records the scripted run into the demo file.
    RunResult Record()
    {
        std::unique_ptr<DemoApp> app = Run("-record -demofile " + DemoPath(), "recording", 1000);
        RunResult r = Result(*app);
        app.reset(); // writes the file
        return r;
    }

    std::string DemoPath() const { return dir / "run.dmo"; }

    // Plays a demo file by stepping, without the script and without a
    // window close of its own: true when it ran past the recorded end or the
    // demo closed it, false when it stood still.
    bool PlaysToItsEnd(const std::string& path, int32_t recordedEnd)
    {
        DemoApp app("-play -demofile " + path);
        app.onUpdate = [this, &app] { Hooks(app, "replay"); };
        ConnectCompletionHook(app, "replay");
        app.Init();
        app.mLoadingStarted = true; // and done: it completes where the demo says
        app.mLoadingFinished = true;
        for (int step = 0; step < 50000; ++step) {
            if (app.mShuttingDown || app.mUpdateCount > recordedEnd + 30)
                return true;
            app.AppStep(nullptr);
        }
        return false;
    }

    testsupport::TempDir dir;
};

} // namespace

TEST_F(DemoRoundTrip, TheReplayRepeatsTheRecordedRunUpdateByUpdate)
{
    const RunResult recorded = Record();
    ASSERT_EQ(recorded.updates, kCloseAt);

    // The run did what the script says (so the comparison below means something).
    const std::vector<std::string> expectedInput = {
        "3: move 100,100", "3: down 1",     "5: move 120,90", "5: move 118,92", "5: up 1", "8: keydown 65",
        "8: char 97",      "8: keyup 65",   "10: wheel -2",   "12: exit",       "14: move 700,500",
        "40: down -2",     "40: move 690,510", "40: up -1",
    };
    std::vector<std::string> input;
    for (const std::string& e : recorded.events)
        if (e.find("markalldirty") == std::string::npos)
            input.push_back(e);
    EXPECT_EQ(input, expectedInput) << recorded;
    EXPECT_FALSE(recorded.notes.empty());

    // The replay runs on other live values: other settings, no file, another
    // clock (so another seed).
    platform.settings.SetDword(kKey, "Level", 99);
    platform.settings.DeleteValue(kKey, "Score");
    std::remove((dir / "level.txt").c_str());

    std::unique_ptr<DemoApp> replay = Run("-play -demofile " + DemoPath(), "replay", 777000);
    EXPECT_TRUE(replay->mPlayingDemo);
    EXPECT_EQ(Result(*replay), recorded);

    uint32_t level = 0;
    EXPECT_TRUE(platform.settings.GetDword(kKey, "Level", level));
    EXPECT_EQ(level, 99u);
    EXPECT_FALSE(platform.settings.GetDword(kKey, "Score", level)) << "the replay wrote a setting";
}

TEST_F(DemoRoundTrip, ATruncatedDemoFileFailsToOpenOrPlaysToItsEnd)
{
    Record();
    const std::vector<uint8_t> bytes = ReadFile(DemoPath());
    DemoFile whole;
    std::string error;
    ASSERT_TRUE(whole.Parse(bytes.data(), bytes.size(), "", error)) << error;

    const std::string cut = dir / "cut.dmo";
    int refused = 0, played = 0;
    for (size_t length = 0; length < bytes.size(); length += length < 40 ? 1 : 7) {
        WriteFile(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(length)));
        DemoApp opener;
        opener.mDemoFileName = cut;
        if (!opener.LoadDemo(error)) {
            EXPECT_EQ(error, "Invalid demo file.") << "cut at " << length;
            ++refused;
            continue;
        }
        EXPECT_TRUE(PlaysToItsEnd(cut, whole.recordedEnd)) << "cut at " << length;
        ++played;
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(played, 0);
}

TEST_F(DemoRoundTrip, ACorruptedDemoStreamPlaysToItsEndOrClosesTheProgram)
{
    Record();
    const std::vector<uint8_t> bytes = ReadFile(DemoPath());
    DemoFile whole;
    std::string error;
    ASSERT_TRUE(whole.Parse(bytes.data(), bytes.size(), "", error)) << error;
    const size_t streamStart = bytes.size() - size_t(whole.stream.GetDataLen());

    std::mt19937 random(12345);
    const std::string damaged = dir / "damaged.dmo";
    for (int variant = 0; variant < 60; ++variant) {
        std::vector<uint8_t> copy = bytes;
        const int flips = 1 + variant % 3;
        for (int i = 0; i < flips; ++i)
            copy[streamStart + random() % (copy.size() - streamStart)] ^= uint8_t(1 + random() % 255);
        WriteFile(damaged, copy);
        EXPECT_TRUE(PlaysToItsEnd(damaged, whole.recordedEnd)) << "variant " << variant;
    }
}

TEST_F(DemoRoundTrip, ADemoFileThatCannotBePlayedIsAFatalError)
{
    Record();
    std::vector<uint8_t> bytes = ReadFile(DemoPath());
    WriteFile(dir / "short.dmo", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 9));
    struct {
        std::string file;
        std::string box;
    } cases[] = {
        {dir / "missing.dmo", "Demo file not found: " + (dir / "missing.dmo")},
        {dir / "short.dmo", "Invalid demo file."},
    };
    for (auto& c : cases) {
        EXPECT_EXIT(
            {
                StderrBoxes boxes;
                boxes.Install();
                DemoApp app("-play -demofile " + c.file);
                app.Init();
            },
            ::testing::ExitedWithCode(plat::kExitBadDemo), "box 'FATAL ERROR' 10: " + c.box)
            << c.file;
    }
}
