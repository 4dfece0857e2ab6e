#include "AppFixture.h"
#include "framework/app/StringUtil.h"
#include "platform/settings/FileSettingsStore.h"
#include "tests/support/TempDir.h"

using namespace Zelk;

namespace {
const char* kKey = "SOFTWARE\\Test Co\\Test Game";
}

class Settings : public AppTest {
protected:
    uint32_t Dword(const char* name, const char* key = kKey)
    {
        uint32_t v = 0xDEADBEEF;
        platform.settings.GetDword(key, name, v);
        return v;
    }
};

TEST_F(Settings, LoadReadsTypedValuesAndClampsVolumes)
{
    struct {
        const char* name;
        uint32_t stored;
        double music, sfx;
    } cases[] = {
        {"MusicVolume", 85, 0.85, 0.85},
        {"MusicVolume", 250, 1.0, 0.85},          // out of range: clamped
        {"MusicVolume", uint32_t(-20), 0.0, 0.85}, // negative: clamped
        {"SfxVolume", 0, 0.85, 0.0},
    };
    for (auto& c : cases) {
        platform.settings.Clear();
        platform.settings.SetDword(kKey, c.name, c.stored);
        TestApp app;
        app.LoadSettings();
        EXPECT_DOUBLE_EQ(app.mMusicVolume, c.music) << c.name << " " << c.stored;
        EXPECT_DOUBLE_EQ(app.mSfxVolume, c.sfx) << c.name << " " << c.stored;
    }
}

TEST_F(Settings, ValueOfAnotherTypeIsIgnored)
{
    platform.settings.SetString(kKey, "MusicVolume", "85");
    platform.settings.SetString(kKey, "ScreenMode", "1");
    TestApp app;
    app.LoadSettings();
    EXPECT_DOUBLE_EQ(app.mMusicVolume, 0.85);
    EXPECT_TRUE(app.mWindowedWanted);
}

TEST_F(Settings, SaveWritesTheTable)
{
    TestApp app;
    app.mMusicVolume = 0.85;
    app.mSfxVolume = 0.005; // 0.5 truncates to 0
    app.mMuteCount = 2;
    app.mAutoMuteCount = 1;
    app.mWindowedWanted = false;
    app.mPreferredX = 12;
    app.mPreferredY = -1;
    app.mCustomCursors = true;
    app.mWaitForVSync = true;
    app.SaveSettings();
    struct {
        const char* name;
        uint32_t want;
    } cases[] = {{"MusicVolume", 85}, {"SfxVolume", 0}, {"Muted", 1}, {"ScreenMode", 1}, {"PreferredX", 12},
                 {"PreferredY", 0xFFFFFFFF}, {"CustomCursors", 1}, {"InProgress", 0}, {"WaitForVSync", 1}};
    for (auto& c : cases)
        EXPECT_EQ(Dword(c.name), c.want) << c.name;

    app.mAutoMuteCount = 2; // all of the mute count is automatic: not saved as muted
    app.SaveSettings();
    EXPECT_EQ(Dword("Muted"), 0u);
}

TEST_F(Settings, RoundTripThroughLoad)
{
    {
        TestApp app;
        app.mMusicVolume = 0.42;
        app.mWindowedWanted = false;
        app.mPreferredX = 7;
        app.SaveSettings();
    }
    TestApp app;
    app.LoadSettings();
    EXPECT_DOUBLE_EQ(app.mMusicVolume, 0.42);
    EXPECT_FALSE(app.mWindowedWanted);
    EXPECT_EQ(app.mPreferredX, 7);
}

TEST_F(Settings, EmptyKeyReadsAndWritesNothing)
{
    TestApp app;
    app.mRegKey = "";
    uint32_t v = 1;
    EXPECT_FALSE(app.RegistryWrite("Anything", plat::REG_DWORD, &v, 4));
    app.LoadSettings();
    app.SaveSettings();
    EXPECT_EQ(platform.settings.ValueCount("SOFTWARE"), 0u);
    EXPECT_FALSE(platform.settings.KeyExists("SOFTWARE"));
}

TEST_F(Settings, StringTableEntryReplacesTheKey)
{
    TestApp app;
    app.SetString("RegistryKey", L"Other Co\\Other Game");
    app.LoadSettings();
    EXPECT_EQ(app.mRegKey, "Other Co\\Other Game");
    uint32_t v = 0;
    EXPECT_TRUE(platform.settings.GetDword("SOFTWARE\\Other Co\\Other Game", "InProgress", v));
    EXPECT_EQ(v, 1u);
}

TEST_F(Settings, SubKeyPathWritesIntoTheSubKey)
{
    TestApp app;
    EXPECT_TRUE(app.WriteRegistryString("Test3D\\RuntimeError", "SetRenderTarget: DDERR_SURFACELOST"));
    plat::SettingsValue sv;
    ASSERT_TRUE(platform.settings.QueryValue(std::string(kKey) + "\\Test3D", "RuntimeError", sv));
    EXPECT_EQ(sv.type, uint32_t(plat::REG_SZ));
    EXPECT_EQ(std::string(sv.data.begin(), sv.data.end()), "SetRenderTarget: DDERR_SURFACELOST");
    app.RegistryEraseValue(L"Test3D\\RuntimeError");
    EXPECT_FALSE(platform.settings.QueryValue(std::string(kKey) + "\\Test3D", "RuntimeError", sv));
}

TEST_F(Settings, WriteReportsAFailingStore)
{
    TestApp app;
    uint32_t v = 1;
    platform.settings.failWrite = true;
    EXPECT_FALSE(app.RegistryWrite("MusicVolume", plat::REG_DWORD, &v, 4));
    platform.settings.failWrite = false;
    platform.settings.failCreate = true;
    EXPECT_FALSE(app.RegistryWrite("Brand\\New", plat::REG_DWORD, &v, 4));
    platform.settings.failCreate = false;
    EXPECT_TRUE(app.RegistryWrite("MusicVolume", plat::REG_DWORD, &v, 4));
}

TEST_F(Settings, InProgressIsOneWhileRunningAndZeroAfterACleanEnd)
{
    {
        TestApp app;
        app.Init();
        EXPECT_EQ(Dword("InProgress"), 1u);
        EXPECT_TRUE(app.mLastRunEndedCleanly);
        platform.windows.Queue().Post({plat::WM_CLOSE, 0, 0});
        app.Start();
        EXPECT_EQ(Dword("InProgress"), 0u);
    }
    TestApp next;
    next.LoadSettings();
    EXPECT_TRUE(next.mLastRunEndedCleanly);
}

TEST_F(Settings, ExitNowLeavesInProgressSoTheNextRunSeesIt)
{
    testsupport::TempDir tmp;
    const std::string file = tmp / "registry.txt";
    plat::FileSettingsStore store(file);
    plat::Services s = plat::Get();
    s.settings = &store;
    plat::Install(s);
    EXPECT_EXIT(
        {
            TestApp app;
            app.Init();
            app.ExitNow(0);
        },
        ::testing::ExitedWithCode(0), "");
    plat::FileSettingsStore after(file);
    uint32_t v = 0;
    EXPECT_TRUE(after.GetDword(kKey, "InProgress", v));
    EXPECT_EQ(v, 1u);
    s.settings = &after;
    plat::Install(s);
    TestApp next;
    next.LoadSettings();
    EXPECT_FALSE(next.mLastRunEndedCleanly);
    s.settings = &platform.settings;
    plat::Install(s);
}
