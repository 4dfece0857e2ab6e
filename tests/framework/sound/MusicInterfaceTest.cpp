#include "framework/app/PathUtil.h"
#include "framework/sound/BassMusicInterface.h"
#include "framework/sound/FModMusicInterface.h"
#include "platform/NullPlatform.h"
#include "tests/framework/sound/FakeFmod.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace Zelk;

namespace {

class FModMusicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mOldAppData = gAppDataFolder;
        gAppDataFolder = tmp.Path() + "/data/";
        fmod.AddSongFile("tune.mod");
        fmod.AddSampleFile("song.ogg", {1, 2, 3, 4, 5, 6, 7, 8}, 44100, 0); // stereo 16-bit: 2 samples
        music = std::make_unique<FModMusicInterface>(0);
    }
    void TearDown() override
    {
        music.reset();
        gAppDataFolder = mOldAppData;
    }

    plat::NullPlatform platform;
    testsupport::TempDir tmp;
    FakeFmod fmod;
    std::unique_ptr<FModMusicInterface> music;

private:
    std::string mOldAppData;
};

} // namespace

TEST(MusicInterface, TheBaseAndTheBassKindDoNothing)
{
    MusicInterface none;
    BassMusicInterface bass(0);
    EXPECT_FALSE(none.LoadMusic(1, "a"));
    EXPECT_TRUE(bass.LoadMusic(1, "a"));
    for (MusicInterface* m : {&none, static_cast<MusicInterface*>(&bass)}) {
        m->PlayMusic(1, 0, false);
        m->FadeIn(1, -1, 0.1, false);
        m->SetVolume(0.5);
        m->Update();
        EXPECT_FALSE(m->IsPlaying(1));
    }
}

TEST_F(FModMusicTest, FadeInStartsAStoppedSongAtZeroAndClimbsToFullIn100Updates)
{
    ASSERT_TRUE(music->LoadSample(3, "song", true));
    music->SetVolume(0.5);
    fmod.ClearCalls();
    music->FadeIn(3, 0, 0.01, false);
    EXPECT_EQ(fmod.calls, (std::vector<std::string>{"FSOUND_IsPlaying(3)", "FSOUND_PlaySound(3)",
                                                    "FSOUND_SetLoopMode(3, 2)", "FSOUND_SetVolume(3, 0)"}));
    std::vector<std::string> volumes;
    for (int i = 1; i <= 100; ++i) {
        fmod.ClearCalls();
        music->Update();
        ASSERT_EQ(fmod.calls.size(), 1u) << i;
        volumes.push_back(fmod.calls[0]);
        if (i < 100) {
            EXPECT_GT(music->GetSong(3)->mFadeSpeed, 0.0) << i;
        }
    }
    // trunc(100 x master 0.5 x volume)
    EXPECT_EQ(volumes[0], "FSOUND_SetVolume(3, 0)");
    EXPECT_EQ(volumes[1], "FSOUND_SetVolume(3, 1)");
    EXPECT_EQ(volumes[49], "FSOUND_SetVolume(3, 25)");
    EXPECT_EQ(volumes[99], "FSOUND_SetVolume(3, 50)");
    EXPECT_DOUBLE_EQ(music->GetSong(3)->mVolume, 1.0);
    EXPECT_EQ(music->GetSong(3)->mFadeSpeed, 0.0);
    fmod.ClearCalls();
    music->Update();
    EXPECT_TRUE(fmod.calls.empty());

    // Fading in again while playing does not restart the song.
    music->FadeIn(3, 0, 0.01, false);
    EXPECT_TRUE(fmod.Calls("FSOUND_PlaySound").empty());
}

TEST_F(FModMusicTest, FadeOutLandsOnZeroThenStopsOnceAtTheNextUpdate)
{
    ASSERT_TRUE(music->LoadMusic(1, "tune.mod"));
    music->PlayMusic(1, 4, false);
    EXPECT_EQ(fmod.Calls("FMUSIC_"),
              (std::vector<std::string>{"FMUSIC_LoadSong(tune.mod)", "FMUSIC_SetMasterVolume(tune.mod, 100)",
                                        "FMUSIC_SetLooping(tune.mod, 2)", "FMUSIC_PlaySong(tune.mod)",
                                        "FMUSIC_SetOrder(tune.mod, 4)"}));
    music->FadeOut(1, true, 0.25);
    fmod.ClearCalls();
    for (int i = 0; i < 6; ++i)
        music->Update();
    EXPECT_EQ(fmod.calls, (std::vector<std::string>{
                              "FMUSIC_SetMasterVolume(tune.mod, 75)",
                              "FMUSIC_SetMasterVolume(tune.mod, 50)",
                              "FMUSIC_SetMasterVolume(tune.mod, 25)",
                              "FMUSIC_SetMasterVolume(tune.mod, 0)", // exactly 0: not stopped yet
                              "FMUSIC_StopSong(tune.mod)",
                              "FMUSIC_SetMasterVolume(tune.mod, 0)",
                          }));
    EXPECT_FALSE(music->IsPlaying(1));
}

TEST_F(FModMusicTest, FadeOutAllFadesEverySongAndIsPlayingAsksEachKind)
{
    fmod.AddSampleFile("other.ogg", {0, 0, 0, 0}, 44100, 0);
    ASSERT_TRUE(music->LoadMusic(1, "tune.mod"));
    ASSERT_TRUE(music->LoadSample(2, "song", false));
    ASSERT_TRUE(music->LoadSample(5, "other", false));
    for (int id : {1, 2, 5})
        music->PlayMusic(id, 0, false);
    EXPECT_TRUE(music->IsPlaying(1));
    EXPECT_TRUE(music->IsPlaying(2)); // the sample's channel is asked
    music->FadeOutAll(true, 0.5);
    for (int id : {1, 2, 5})
        EXPECT_EQ(music->GetSong(id)->mFadeSpeed, -0.5) << id;
    for (int i = 0; i < 3; ++i)
        music->Update();
    for (int id : {1, 2, 5})
        EXPECT_FALSE(music->IsPlaying(id)) << id;
}

TEST_F(FModMusicTest, AnIdLoadedTwiceKeepsItsFirstSongAndUnknownIdsDoNothing)
{
    ASSERT_TRUE(music->LoadMusic(1, "tune.mod"));
    fmod.AddSongFile("other.mod");
    EXPECT_TRUE(music->LoadMusic(1, "other.mod"));
    EXPECT_TRUE(music->LoadSample(1, "song", false));
    EXPECT_NE(music->GetSong(1)->mModule, nullptr);
    EXPECT_EQ(fmod.modules.size(), 1u); // nothing loaded that would be dropped
    EXPECT_EQ(fmod.LiveSamples(), 0);
    EXPECT_FALSE(music->LoadMusic(2, "missing.mod"));
    EXPECT_FALSE(music->LoadSample(2, "missing", false));
    EXPECT_EQ(music->GetSong(2), nullptr);

    fmod.ClearCalls();
    music->PlayMusic(9, 0, false);
    music->StopMusic(9);
    music->PauseMusic(9);
    music->ResumeMusic(9);
    music->FadeIn(9, 0, 0.1, false);
    music->FadeOut(9, true, 0.1);
    music->SetSongVolume(9, 0.5);
    EXPECT_FALSE(music->IsPlaying(9));
    EXPECT_TRUE(fmod.calls.empty());
}

TEST_F(FModMusicTest, ACachedSampleIsAPlainWaveOfTheDecodedOgg)
{
    fmod.AddSampleFile("music\\mono8.ogg", {0x10, 0x20, 0x30}, 22050, 0x20 | 0x08);
    ASSERT_NE(music->LoadCachedSample("music\\mono8"), nullptr);
    std::string expected = std::string("RIFF\x27\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x22\x56\0\0\x01\0\x08\0"
                                       "data\x03\0\0\0\x10\x20\x30",
                                       47);
    EXPECT_EQ(tmp.Read("data/cached/mono8.wav"), expected);
    EXPECT_EQ(fmod.Calls("FSOUND_Sample_Load"),
              (std::vector<std::string>{"FSOUND_Sample_Load(-1, " + gAppDataFolder + "cached\\mono8.wav, 0, 0)",
                                        "FSOUND_Sample_Load(-1, music\\mono8.ogg, 0, 0)"}));

    // The library finds the cache first, whatever the age of the source.
    fmod.AddSampleFile(gAppDataFolder + "cached\\mono8.wav", {0x10, 0x20, 0x30}, 22050, 0x20 | 0x08);
    fmod.ClearCalls();
    ASSERT_NE(music->LoadCachedSample("music\\mono8"), nullptr);
    EXPECT_EQ(fmod.Calls("FSOUND_Sample_Load").size(), 1u);
}

TEST_F(FModMusicTest, IntroAndLoopJoinOnlyWhenTheyMatch)
{
    fmod.AddSampleFile("intro.ogg", {1, 1, 2, 2, 3, 3, 4, 4}, 44100, 0);   // 2 samples
    fmod.AddSampleFile("loop.ogg", {5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 0, 0}, 44100, 0); // 3 samples
    fmod.AddSampleFile("slow.ogg", {1, 1, 2, 2}, 22050, 0);
    EXPECT_FALSE(music->LoadSampleWithIntro(1, "slow", "loop", true));
    EXPECT_EQ(music->GetSong(1), nullptr);
    EXPECT_EQ(fmod.LiveSamples(), 0);

    fmod.ClearCalls();
    ASSERT_TRUE(music->LoadSampleWithIntro(1, "intro", "loop", true));
    EXPECT_EQ(fmod.Calls("FSOUND_Sample_Alloc"),
              (std::vector<std::string>{"FSOUND_Sample_Alloc(-1, 5, 2, 44100, 255, 128, 0)"}));
    EXPECT_EQ(fmod.Calls("FSOUND_Sample_SetLoopPoints"),
              (std::vector<std::string>{"FSOUND_Sample_SetLoopPoints(2, 3)"}));
    FakeFmod::Sample* joined = fmod.SampleOf(music->GetSong(1)->mSample);
    EXPECT_EQ(joined->data, (std::vector<uint8_t>{1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 0, 0}));
    EXPECT_EQ(fmod.LiveSamples(), 1);

    // A failed lock of the joined sample registers nothing and keeps nothing.
    fmod.failSampleLock = true;
    EXPECT_FALSE(music->LoadSampleWithIntro(2, "intro", "loop", true));
    EXPECT_EQ(music->GetSong(2), nullptr);
    EXPECT_EQ(fmod.LiveSamples(), 1);
}

TEST_F(FModMusicTest, TheDestructorStopsAndFreesItsSongsAndGivesTheBindingBack)
{
    ASSERT_TRUE(music->LoadMusic(1, "tune.mod"));
    ASSERT_TRUE(music->LoadSample(2, "song", true));
    music->PlayMusic(1, 0, false);
    music->PlayMusic(2, 0, false);
    fmod.ClearCalls();
    music.reset();
    EXPECT_EQ(fmod.calls, (std::vector<std::string>{"FMUSIC_StopSong(tune.mod)", "FSOUND_StopSound(2)",
                                                    "FSOUND_Sample_Free"}));
    EXPECT_EQ(fmod.LiveSamples(), 0);
    EXPECT_EQ(plat::FmodLibraryLoads(), 0);
}
