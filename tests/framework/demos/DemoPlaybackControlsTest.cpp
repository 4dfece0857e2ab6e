// The demo player's controls: speed, pause, single step, jumps with the
// fast-forward, and the marker list and jump-to-time dialogs.
#include "DemoAppFixture.h"
#include "framework/app/StringUtil.h"
#include "framework/sound/DSoundManager.h"
#include "platform/settings/SettingsStore.h"
#include "tests/support/TempDir.h"

using namespace Zelk;
using Dialogs = plat::NullModalDialogHost;

namespace {

const std::string kKey = "SOFTWARE\\Test Co\\Test Game";
constexpr int kListBox = 100;
constexpr int kEdit = 100;

// Counts the times every playing sound was stopped.
class CountingSounds : public DSoundManager {
public:
    CountingSounds() : DSoundManager(0, false) {}
    void StopAllSounds() override
    {
        ++stops;
        DSoundManager::StopAllSounds();
    }
    int stops = 0;
};

template <typename Cond>
void StepUntil(ZelkAppBase& app, Cond cond, int budget = 20000)
{
    for (int i = 0; i < budget && !cond(); ++i)
        app.AppStep(nullptr);
}

class PlaybackControls : public AppTest {
protected:
    // Records a run that ends at update `end`, with a key press at each of
    // the given updates, into the demo file.
    void Record(int32_t end, const std::vector<int32_t>& keysAt, const std::vector<DemoMarker>& markers = {})
    {
        DemoApp recorder("-record -demofile " + Path());
        recorder.Init();
        recorder.mDemoMarkers = markers;
        for (size_t i = 0; i < keysAt.size(); ++i) {
            recorder.mUpdateCount = keysAt[i];
            recorder.mMessageQueue.push_back(KeyMessage(plat::WM_KEYDOWN, 'A' + int(i)));
            recorder.DispatchQueuedMessage(false);
        }
        recorder.mUpdateCount = end;
    }

    // A player of the demo file, started and ready to step.
    std::unique_ptr<DemoApp> Player()
    {
        auto player = std::make_unique<DemoApp>("-play -demofile " + Path());
        sounds = new CountingSounds(); // the application deletes it
        player->mSoundManager = sounds;
        player->Init();
        player->mLoadingCompleteHandled = true;
        // Each update takes 3 ms, so a second passes every 334 updates.
        player->onUpdate = [this] { platform.clock.Advance(3); };
        return player;
    }

    std::string Path() const { return dir / "controls.dmo"; }

    // The shown dialogs' list entries, narrowed.
    static std::vector<std::string> Entries(const Dialogs::Shown& shown)
    {
        std::vector<std::string> out;
        auto it = shown.entries.find(kListBox);
        if (it != shown.entries.end())
            for (const auto& e : it->second)
                out.push_back(WStringToString(e.text));
        return out;
    }

    testsupport::TempDir dir;
    CountingSounds* sounds = nullptr;
};

} // namespace

TEST_F(PlaybackControls, SpeedKeys)
{
    struct {
        const char* keys;
        double multiplier;
    } cases[] = {
        {"+", 1.5},
        {"+++", 3.375},
        {"+-", 1.0}, // exactly: 1.5 x 2 / 3
        {"-", 2.0 / 3.0},
        {"++=", 1.0},
        {"++++++++++++++++++++", 1000.0}, // held at 1000
        {"++++++++++++++++++++-", 1000.0 * 2.0 / 3.0},
        {"xQ", 1.0}, // not playback keys
    };
    for (auto& c : cases) {
        DemoApp app;
        for (const char* k = c.keys; *k; ++k)
            app.PlaybackKey(*k);
        EXPECT_EQ(app.mUpdateMultiplier, c.multiplier) << c.keys;
    }
}

TEST_F(PlaybackControls, JumpKeysAimBeforeTheRecordedEnd)
{
    struct {
        int32_t end;
        int period;
        int key;
        int32_t target;
    } cases[] = {
        {20000, 10, '0', 20000}, {20000, 10, '4', 8000},  {20000, 10, '5', 11000}, {20000, 10, '6', 14000},
        {20000, 10, '7', 17000}, {20000, 10, '8', 19000}, {20000, 10, '9', 19500}, {20000, 20, '7', 18500},
        {100, 10, '4', 0}, // before the start: held at 0
    };
    for (auto& c : cases) {
        DemoApp app;
        app.mDemoRecordedEnd = c.end;
        app.mUpdatePeriod = c.period;
        app.PlaybackKey(c.key);
        EXPECT_EQ(app.mPlaybackJumpTarget, c.target) << char(c.key) << " at " << c.period << " ms";
    }

    DemoApp app;
    app.mUpdateCount = 41;
    app.PlaybackKey('n');
    EXPECT_EQ(app.mPlaybackJumpTarget, 42);
    EXPECT_TRUE(app.mPlaybackStep);
    app.PlaybackKey('M');
    EXPECT_TRUE(app.mPlaybackRunToEnd);
    platform.clock.Set(5000);
    app.mPendingMs = 80.0;
    app.PlaybackKey('p');
    EXPECT_TRUE(app.mPlaybackPause);
    EXPECT_EQ(app.mPendingMs, 0.0);
    EXPECT_EQ(app.mLastClockTime, 5000u);
    app.PlaybackKey('P');
    EXPECT_FALSE(app.mPlaybackPause);
    app.SetMusicVolume(0.5);
    app.PlaybackKey('s');
    EXPECT_EQ(app.GetMusicVolume(), 0.0);
    app.PlaybackKey('S');
    EXPECT_EQ(app.GetMusicVolume(), 0.5);
}

TEST_F(PlaybackControls, TypedKeysReachTheControlsAndNotTheProgram)
{
    Record(100, {});
    std::unique_ptr<DemoApp> player = Player();
    platform.windows.Queue().Post(KeyMessage(plat::WM_CHAR, '+'));
    platform.windows.Queue().Post(KeyMessage(plat::WM_CHAR, '7'));
    StepUntil(*player, [&] { return player->mUpdateCount >= 5; });
    EXPECT_EQ(player->mUpdateMultiplier, 1.5);
    EXPECT_EQ(player->mPlaybackJumpTarget, 0); // 30 s before an end 1 s in
    for (const std::string& e : player->probe.events)
        EXPECT_EQ(e.find("char"), std::string::npos) << e;
}

TEST_F(PlaybackControls, JumpToTheEndRunsEveryUpdateDrawingOnceASecondThenRestoresTheSound)
{
    const int32_t end = 3000;
    Record(end, {500, 1200, 1200, 2999});
    std::unique_ptr<DemoApp> player = Player();
    const int32_t muteBefore = player->mMuteCount;
    std::vector<bool> mutedDuringUpdates;
    player->onUpdate = [&] {
        platform.clock.Advance(3);
        mutedDuringUpdates.push_back(player->IsMuted());
    };

    player->PlaybackKey('0');
    player->drawCalls.clear();
    StepUntil(*player, [&] { return player->mUpdateCount >= end; });
    ASSERT_EQ(player->mUpdateCount, end);

    // The records due on the way were replayed where they were recorded.
    EXPECT_EQ(player->StampedEvents(),
              (std::vector<std::string>{"0: markalldirty", "500: keydown 65", "1200: keydown 66",
                                        "1200: keydown 67", "2999: keydown 68"}));
    // At most one frame a second: 334 updates of 3 ms.
    std::vector<int> fastDraws;
    for (int at : player->drawCalls)
        if (at < end)
            fastDraws.push_back(at);
    EXPECT_GE(fastDraws.size(), 7u);
    EXPECT_LE(fastDraws.size(), 10u);
    for (size_t i = 1; i < fastDraws.size(); ++i)
        EXPECT_GE(fastDraws[i] - fastDraws[i - 1], 334) << "draws at " << fastDraws[i - 1] << " and " << fastDraws[i];
    // Silent on the way, every sound stopped at the end, and unmuted.
    EXPECT_EQ(std::count(mutedDuringUpdates.begin(), mutedDuringUpdates.end(), false), 0);
    EXPECT_EQ(sounds->stops, 1);
    EXPECT_EQ(player->mMuteCount, muteBefore);
    EXPECT_FALSE(player->mMutedForFastPlayback);

    // Then the playback goes on at its normal pace.
    const int32_t before = player->mUpdateCount;
    const uint32_t t0 = platform.clock.NowMs();
    StepUntil(*player, [&] { return platform.clock.NowMs() - t0 >= 1000; });
    EXPECT_NEAR(player->mUpdateCount - before, 100, 40);
}

TEST_F(PlaybackControls, SingleStepRunsOneUpdateAndDrawsItAlsoWhilePaused)
{
    Record(400, {3});
    std::unique_ptr<DemoApp> player = Player();
    std::vector<bool> muted;
    player->onUpdate = [&] { muted.push_back(player->IsMuted()); };
    StepUntil(*player, [&] { return player->mUpdateCount >= 10; });
    player->PlaybackKey('p');
    const int32_t at = player->mUpdateCount;
    for (int i = 0; i < 50; ++i)
        player->AppStep(nullptr);
    EXPECT_EQ(player->mUpdateCount, at);

    muted.clear();
    player->drawCalls.clear();
    player->PlaybackKey('n');
    StepUntil(*player, [&] { return !player->drawCalls.empty(); }, 10);
    EXPECT_EQ(player->mUpdateCount, at + 1);
    EXPECT_EQ(player->drawCalls, std::vector<int>{at + 1});
    EXPECT_EQ(muted, std::vector<bool>{false});
    EXPECT_EQ(sounds->stops, 0);

    for (int i = 0; i < 50; ++i)
        player->AppStep(nullptr);
    EXPECT_EQ(player->mUpdateCount, at + 1); // still paused
    player->PlaybackKey('P');
    StepUntil(*player, [&] { return player->mUpdateCount > at + 5; }, 200);
    EXPECT_GT(player->mUpdateCount, at + 5);
}

TEST_F(PlaybackControls, RunToEndGoesOnPastTheEndWithoutSound)
{
    Record(500, {100});
    std::unique_ptr<DemoApp> player = Player();
    player->PlaybackKey('m');
    player->drawCalls.clear();
    StepUntil(*player, [&] { return player->mUpdateCount > 3000; });
    EXPECT_GT(player->mUpdateCount, 3000);
    EXPECT_TRUE(player->IsMuted());
    EXPECT_EQ(sounds->stops, 0);
    for (size_t i = 1; i < player->drawCalls.size(); ++i)
        EXPECT_GE(player->drawCalls[i] - player->drawCalls[i - 1], 334);
    EXPECT_EQ(player->StampedEvents(), (std::vector<std::string>{"0: markalldirty", "100: keydown 65"}));
}

TEST_F(PlaybackControls, MarkerListOffersTheMarkersAheadAndJumpsToThePickedOne)
{
    DemoApp app;
    app.mUpdateCount = 1000;
    app.mDemoRecordedEnd = 400000;
    app.mDemoMarkers = {{"start", 0}, {"here", 1000}, {"boss", 1500}, {"long way", 40000}, {"near end", 399990}};

    // A double-click with nothing selected does nothing; then the second entry.
    platform.dialogs.Queue(Dialogs::DoubleClick(kListBox));
    platform.dialogs.Queue(Dialogs::Select(kListBox, 1));
    platform.dialogs.Queue(Dialogs::DoubleClick(kListBox));
    EXPECT_EQ(app.ShowMarkerList(), 0);
    EXPECT_EQ(app.mPlaybackJumpTarget, 40000);

    std::vector<Dialogs::Shown> log = platform.dialogs.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].dialog.title, "Marker List");
    EXPECT_EQ(Entries(log[0]), (std::vector<std::string>{"boss (01:06:25)", "long way (01:00:00)", "near end (00:00:00)"}));

    // Closed without a pick: no jump.
    platform.dialogs.Clear();
    app.mPlaybackJumpTarget = 0;
    EXPECT_EQ(app.ShowMarkerList(), 0);
    EXPECT_EQ(app.mPlaybackJumpTarget, 0);
    platform.dialogs.failShow = true;
    EXPECT_EQ(app.ShowMarkerList(), -1);
    EXPECT_EQ(app.ShowJumpToTime(), -1);
}

TEST_F(PlaybackControls, JumpToTimeReadsTheTimeBeforeTheEndAndOffersItAgain)
{
    platform.settings.CreateKey(kKey);
    struct {
        const char* text;
        int32_t target; // recorded end 1,000,000 at 10 ms
    } cases[] = {
        {"90", 1000000 - 9100},
        {"1:30", 1000000 - 9100},
        {"1::30", 1000000 - 9100},
        {"", 1000000 - 100},
        {"abc", 1000000 - 100},
        {"1:00:00", 1000000 - 360100},
        {"99999999999999999999999", 0}, // far before the start: held at 0
        {"4000000000:0:0", 0},
        {"-5", 1000000 + 400},
    };
    for (auto& c : cases) {
        DemoApp app;
        app.mDemoRecordedEnd = 1000000;
        platform.dialogs.Clear();
        platform.dialogs.Queue(Dialogs::Type(kEdit, c.text));
        platform.dialogs.Queue(Dialogs::Press(plat::DIALOG_IDOK));
        EXPECT_EQ(app.ShowJumpToTime(), 0) << c.text;
        EXPECT_EQ(app.mPlaybackJumpTarget, c.target) << c.text;

        // Stored with its terminator, and offered (all selected) the next time.
        plat::SettingsValue stored;
        ASSERT_TRUE(platform.settings.QueryValue(kKey, "DemoJumpTime", stored));
        EXPECT_EQ(stored.type, plat::REG_SZ);
        EXPECT_EQ(std::string(stored.data.begin(), stored.data.end()), std::string(c.text) + '\0');
        platform.dialogs.Queue(Dialogs::Press(plat::DIALOG_IDCANCEL));
        app.mPlaybackJumpTarget = 7;
        app.ShowJumpToTime();
        EXPECT_EQ(app.mPlaybackJumpTarget, 7) << "Cancel jumps nowhere";
        std::vector<Dialogs::Shown> log = platform.dialogs.Log();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_EQ(log[0].dialog.title, "Jump To Time");
        EXPECT_EQ(log[1].texts[kEdit], c.text);
        EXPECT_TRUE(log[1].textSelected[kEdit]);
    }
}

TEST_F(PlaybackControls, JumpToTimeCopesWithAStoredTextOfAnyShapeAndAMissingKey)
{
    DemoApp app;
    app.mDemoRecordedEnd = 1000;
    // Long and without a terminator: read up to 1000 bytes.
    platform.settings.CreateKey(kKey);
    const std::string stored(1500, '1');
    platform.settings.SetValue(kKey, "DemoJumpTime", plat::REG_SZ, stored.data(), uint32_t(stored.size()));
    // A typed text longer than the field keeps its first 499 characters.
    platform.dialogs.Queue(Dialogs::Type(kEdit, "5" + std::string(600, ' ')));
    platform.dialogs.Queue(Dialogs::Press(plat::DIALOG_IDOK));
    app.ShowJumpToTime();
    std::vector<Dialogs::Shown> log = platform.dialogs.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].texts[kEdit], std::string(1000, '1'));
    EXPECT_EQ(app.mPlaybackJumpTarget, 1000 - 600);
    plat::SettingsValue value;
    ASSERT_TRUE(platform.settings.QueryValue(kKey, "DemoJumpTime", value));
    EXPECT_EQ(value.data.size(), 500u);

    // No settings key: nothing offered, nothing stored, the jump still happens.
    platform.settings.Clear();
    platform.dialogs.Clear();
    platform.dialogs.Queue(Dialogs::Type(kEdit, "2"));
    platform.dialogs.Queue(Dialogs::Press(plat::DIALOG_IDOK));
    app.ShowJumpToTime();
    EXPECT_EQ(platform.dialogs.Log()[0].texts[kEdit], "");
    EXPECT_EQ(app.mPlaybackJumpTarget, 1000 - 300);
    EXPECT_FALSE(platform.settings.KeyExists(kKey));
}
