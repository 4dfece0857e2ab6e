#include "game/core/MusicManager.h"
#include "game/core/MusicStream.h"
#include "game/core/SfxChannel.h"
#include "game/core/SfxManager.h"
#include "game/core/SfxSample.h"
#include "game/core/SoundSystem.h"
#include "game/core/XmlFunctions.h"
#include "platform/NullPlatform.h"
#include "tests/framework/sound/SoundTestUtil.h"
#include "tests/game/core/Utf16File.h"
#include "tests/support/TempDir.h"
#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace soundtest;

namespace {

std::string Tone(uint32_t frames, uint32_t rate = 44100, int16_t level = 3000)
{
    std::vector<int16_t> s;
    for (uint32_t i = 0; i < frames; ++i)
        s.push_back(int16_t((i / 50) % 2 ? level : -level));
    return WaveFile(1, rate, 16, Pcm16(s));
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The calls of the log that start with the prefix.
std::vector<std::string> Only(const std::vector<std::string>& calls, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const std::string& c : calls)
        if (c.compare(0, prefix.size(), prefix) == 0)
            out.push_back(c);
    return out;
}

// A game folder with the office fixture and its sounds, made the current
// folder; the sound system started as the game starts it.
class GameSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.Enter(dir.Path()));
        for (const char* name : {"click", "hover", "snore", "ring", "alarm", "old"})
            dir.Write(std::string("sfx/") + name + ".wav", Tone(4410));
        dir.Write("music/menu.wav", Tone(44100));
        dir.Write("music/level.wav", Tone(44100));
        LoadOffice(ReadText(std::string(ZELK_FIXTURES) + "/sound/office.xml"));
    }
    void TearDown() override { mFolder.Restore(); }
    // Reads the UTF-8 source as the game's UTF-16 file would hold it.
    void LoadOffice(const std::string& utf8)
    {
        dir.Write("cfg/office.xml", Utf16File(std::wstring(utf8.begin(), utf8.end())));
        XmlCreateDocument(doc);
        ASSERT_TRUE(XmlLoadFile("cfg/office.xml", doc));
        office = XmlNode(doc).SelectSingle(L"office");
        ASSERT_FALSE(office.IsEmpty());
    }
    void Start()
    {
        gSfxVolume = 100;
        system.Init(7);
        lib.TakeCalls();
    }
    int IdOf(const std::string& name) { return gSfxSamples.at(name)->SampleId(); }
    int GroupOf(const std::string& name) { return gSfxSamples.at(name)->Group(); }

    testsupport::TempDir dir;
    testsupport::CurrentFolder mFolder;
    plat::NullPlatform platform;
    plat::NullSoundLibrary& lib = platform.sound;
    SoundSystem system;
    XmlDocument doc;
    XmlNode office;
};

TEST_F(GameSoundTest, TheSoundSystemStartsTheLibraryOnceAndEndsItWithItsLastUser)
{
    system.Init(7);
    EXPECT_EQ(lib.TakeCalls(), (std::vector<std::string>{"Init(7, 0, 44100, 16, 32, 1, 1, 0, 500, 0, 0, 0, 0)",
                                                          "SetSpeakerMode(3)", "SetFileCallbacks(set, set, set, set)",
                                                          "SetMemoryCallbacks(set, set)"}));
    {
        SoundSystem second, neverStarted;
        second.Init(7);
        EXPECT_EQ(SoundSystem::UseCount(), 2);
    }
    // Neither the second user nor the one never started ends the library.
    EXPECT_EQ(SoundSystem::UseCount(), 1);
    EXPECT_TRUE(lib.TakeCalls().empty());

    // The file callbacks read through the archive layer (here: the disk).
    plat::SoundLibrary::OpenFn open;
    plat::SoundLibrary::SeekFn seek;
    plat::SoundLibrary::ReadFn read;
    plat::SoundLibrary::CloseFn close;
    lib.GetFileCallbacks(open, seek, read, close);
    EXPECT_EQ(open("sfx\\missing.wav"), -1);
    intptr_t f = open("SFX\\Click.wav");
    ASSERT_NE(f, -1);
    EXPECT_EQ(seek(f, 0, SEEK_END), long(Tone(4410).size()));
    EXPECT_EQ(seek(f, 8, SEEK_SET), 8);
    char wave[4];
    EXPECT_EQ(read(f, wave, 4), 4);
    EXPECT_EQ(std::string(wave, 4), "WAVE");
    close(f);
}

TEST(GameSoundSystem, AFailedStartSetsNothingButCountsAndTheLastUserStillEnds)
{
    plat::NullPlatform platform;
    platform.sound.FailInit();
    {
        SoundSystem system;
        system.Init(3);
        EXPECT_EQ(SoundSystem::UseCount(), 1);
        EXPECT_EQ(platform.sound.TakeCalls(),
                  (std::vector<std::string>{"Init(3, 0, 44100, 16, 32, 1, 1, 0, 500, 0, 0, 0, 0)"}));
    }
    EXPECT_EQ(SoundSystem::UseCount(), 0);
    EXPECT_EQ(platform.sound.TakeCalls(), (std::vector<std::string>{"Stop()", "Free()"}));
}

TEST_F(GameSoundTest, EffectsLoadInGroupsAndPlayAtTheEffectVolume)
{
    Start();
    // Group numbers go on through the run; this test's first is one more.
    const int g = SfxLastGroupNumber();
    SfxManager sfx;
    sfx.Load(office);
    std::vector<std::string> calls = lib.TakeCalls();
    std::vector<std::string> loads = Only(calls, "LoadSample");
    ASSERT_EQ(loads.size(), 6u);
    EXPECT_EQ(loads[0], "LoadSample(sfx\\old.wav, 0, {" + std::to_string(g + 1) + ", 0, 0, 100, 50, 1, 1e+09})");
    // Groups in the order first met; "" is a group; a group shares its number.
    EXPECT_EQ(GroupOf("click"), g + 1);
    EXPECT_EQ(GroupOf("hover"), g + 1);
    EXPECT_EQ(GroupOf("snore"), g + 2);
    EXPECT_EQ(GroupOf("ring"), g + 2);
    EXPECT_EQ(GroupOf("alarm"), g + 3);
    EXPECT_EQ(gSfxGroups.at(""), g + 3);
    // The repeated name "click": the earlier sample (id 1) was stopped and unloaded.
    EXPECT_EQ(Only(calls, "StopSample"), (std::vector<std::string>{"StopSample(1)"}));
    EXPECT_EQ(Only(calls, "UnloadSample"), (std::vector<std::string>{"UnloadSample(1)"}));
    EXPECT_EQ(gSfxSamples.at("click")->Path(), "sfx\\click.wav");
    EXPECT_EQ(gSfxSamples.size(), 5u);

    sfx.Play("click");
    sfx.Play("unknown");
    EXPECT_EQ(lib.TakeCalls(), (std::vector<std::string>{"PlaySample(" + std::to_string(IdOf("click")) + ", 0, " +
                                                          std::to_string(g + 1) + ", 1, 0, 100, 44100, 50)"}));
    EXPECT_EQ(sfx.CreateChannel("unknown"), nullptr);

    // Volume 0: one call per known group, later plays at 0, a later group gets none.
    sfx.SetVolume(0);
    auto zero = [&](int n) { return "SetGroupVolume(" + std::to_string(g + n) + ", 0)"; };
    EXPECT_EQ(Only(lib.TakeCalls(), "SetGroupVolume"), (std::vector<std::string>{zero(3), zero(2), zero(1)}));
    sfx.Play("snore");
    EXPECT_EQ(lib.TakeCalls(), (std::vector<std::string>{"PlaySample(" + std::to_string(IdOf("snore")) + ", 0, " +
                                                          std::to_string(g + 2) + ", 1, 0, 0, 44100, 50)"}));
    LoadOffice("<office><sounds><sound name=\"late\" group=\"later\" path=\"sfx\\ring.wav\"/></sounds></office>");
    sfx.Load(office);
    EXPECT_EQ(GroupOf("late"), g + 4);
    EXPECT_TRUE(Only(lib.TakeCalls(), "SetGroupVolume").empty());

    // ClearAll stops and unloads; the numbering goes on after it.
    int click = IdOf("click");
    sfx.ClearAll();
    calls = lib.TakeCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "UnloadSample(" + std::to_string(click) + ")"), calls.end());
    EXPECT_TRUE(gSfxSamples.empty());
    LoadOffice("<office><sounds><sound name=\"x\" group=\"new\" path=\"sfx\\ring.wav\"/></sounds></office>");
    sfx.Load(office);
    EXPECT_EQ(GroupOf("x"), g + 5);
}

TEST_F(GameSoundTest, PausesNestPerSampleAndAResumeAtZeroDoesNothing)
{
    Start();
    SfxManager sfx;
    sfx.Load(office);
    int snore = IdOf("snore");
    SfxChannel* ch = sfx.CreateChannel("snore"); // a looping sample of the group "game"
    ch->Play();
    lib.TakeCalls();

    sfx.PauseAll();
    sfx.PauseAll();
    std::vector<std::string> pauses = Only(lib.TakeCalls(), "PauseSample");
    EXPECT_EQ(pauses.size(), gSfxSamples.size()); // one per sample
    sfx.ResumeAll();
    EXPECT_TRUE(lib.TakeCalls().empty());
    EXPECT_EQ(lib.ChannelStatus(ch->ChannelId()), plat::SoundLibrary::kPaused);
    sfx.ResumeAll();
    EXPECT_EQ(Only(lib.TakeCalls(), "PauseSample(" + std::to_string(snore)),
              (std::vector<std::string>{"PauseSample(" + std::to_string(snore) + ", 0)"}));
    EXPECT_EQ(lib.ChannelStatus(ch->ChannelId()), plat::SoundLibrary::kPlaying);

    // The escape menu pauses "game", then the focus goes: both resumes are needed.
    sfx.PauseGroup("game");
    sfx.PauseAll();
    sfx.ResumeAll();
    EXPECT_EQ(lib.ChannelStatus(ch->ChannelId()), plat::SoundLibrary::kPaused);
    sfx.ResumeGroup("game");
    EXPECT_EQ(lib.ChannelStatus(ch->ChannelId()), plat::SoundLibrary::kPlaying);

    // A resume at count 0 (the first focus gain) is ignored: the next loss pauses.
    lib.TakeCalls();
    sfx.ResumeAll();
    EXPECT_TRUE(lib.TakeCalls().empty());
    sfx.PauseAll();
    EXPECT_EQ(lib.ChannelStatus(ch->ChannelId()), plat::SoundLibrary::kPaused);
    sfx.ResumeAll();
    sfx.PauseGroup("unknown");
    sfx.StopGroup("game");
    EXPECT_EQ(lib.ChannelStatus(ch->ChannelId()), plat::SoundLibrary::kEnded);
    delete ch;
}

TEST_F(GameSoundTest, AKeptChannelIsStartedAgainUntilItHasEnded)
{
    Start();
    SfxManager sfx;
    sfx.Load(office);
    int ring = IdOf("ring"); // not looping, 100 ms
    SfxChannel* ch = sfx.CreateChannel("ring");
    ch->Play();
    ch->Play();
    std::string id = std::to_string(ch->ChannelId());
    std::vector<std::string> calls = lib.TakeCalls();
    EXPECT_EQ(Only(calls, "PlaySample").size(), 1u);
    EXPECT_EQ(Only(calls, "StartChannel"), (std::vector<std::string>{"StartChannel(" + id + ")"}));
    lib.Advance(50);
    ch->Pause();
    ch->Play();
    EXPECT_EQ(Only(lib.TakeCalls(), "StartChannel"), (std::vector<std::string>{"StartChannel(" + id + ")"}));
    lib.Advance(200);
    ch->Play();
    EXPECT_EQ(Only(lib.TakeCalls(), "PlaySample"),
              (std::vector<std::string>{"PlaySample(" + std::to_string(ring) + ", 0, " + std::to_string(GroupOf("ring")) +
                                        ", 1, 0, 100, 44100, 50)"}));
    EXPECT_NE(std::to_string(ch->ChannelId()), id);
    delete ch;
    EXPECT_EQ(Only(lib.TakeCalls(), "StopChannel").size(), 1u);
}

class MusicTest : public GameSoundTest {
protected:
    void SetUp() override
    {
        GameSoundTest::SetUp();
        Start();
        music = std::make_unique<MusicManager>();
        EXPECT_TRUE(music->Load(office));
        lib.TakeCalls();
    }
    // Plays "main_menu" until it is at full volume.
    void MenuPlaying()
    {
        music->PlayMusic("main_menu");
        lib.Advance(1000);
        lib.TakeCalls();
    }
    std::unique_ptr<MusicManager> music;
};

TEST_F(MusicTest, AChangeOfTrackFadesTheNewOneInAndTheOldOneOut)
{
    MenuPlaying();
    int menuChannel = music->Find("main_menu")->ChannelId();
    std::string menu = std::to_string(menuChannel);
    music->PlayMusic("level");
    int levelChannel = music->Find("level")->ChannelId();
    std::string level = std::to_string(levelChannel);
    int levelSample = music->Find("level")->SampleId();
    EXPECT_EQ(lib.TakeCalls(),
              (std::vector<std::string>{"LoadSample(music\\level.wav, 0, none)",
                                        "PlaySample(" + std::to_string(levelSample) + ", 1, -1, 1, 0, 0, 44100, 50)",
                                        "SetChannelWorker(" + level + ", set, 50)",
                                        "SetChannelWorker(" + menu + ", set, 100)"}));
    lib.Advance(1000);
    std::vector<std::string> calls = lib.TakeCalls();
    std::vector<std::string> rising = Only(calls, "SetChannelVolume(" + level);
    ASSERT_EQ(rising.size(), 20u);
    EXPECT_EQ(rising.front(), "SetChannelVolume(" + level + ", 5)");
    EXPECT_EQ(rising.back(), "SetChannelVolume(" + level + ", 100)");
    EXPECT_EQ(Only(calls, "SetChannelWorker(" + level),
              (std::vector<std::string>{"SetChannelWorker(" + level + ", none, 100)"}));
    EXPECT_EQ(Only(calls, "SetChannelVolume(" + menu).size(), 10u);

    lib.Advance(1000);
    calls = lib.TakeCalls();
    std::vector<std::string> falling = Only(calls, "SetChannelVolume(" + menu);
    ASSERT_EQ(falling.size(), 10u);
    EXPECT_EQ(falling.back(), "SetChannelVolume(" + menu + ", 0)");
    EXPECT_EQ(Only(calls, "StopChannel"), (std::vector<std::string>{"StopChannel(" + menu + ")"}));
    EXPECT_EQ(Only(calls, "UnloadSample").size(), 1u);
    EXPECT_EQ(music->Find("main_menu")->SampleId(), 0);
    lib.Advance(1000);
    EXPECT_TRUE(lib.TakeCalls().empty());

    // The same name: nothing; the old track again: loaded anew.
    music->PlayMusic("level");
    EXPECT_TRUE(lib.TakeCalls().empty());
    music->PlayMusic("main_menu");
    EXPECT_EQ(Only(lib.TakeCalls(), "LoadSample"),
              (std::vector<std::string>{"LoadSample(music\\menu.wav, 0, none)"}));
    // An unknown name only fades out.
    lib.Advance(1000);
    lib.TakeCalls();
    music->PlayMusic("");
    calls = lib.TakeCalls();
    EXPECT_TRUE(Only(calls, "LoadSample").empty());
    EXPECT_TRUE(Only(calls, "PlaySample").empty());
    EXPECT_EQ(Only(calls, "SetChannelWorker").size(), 1u);
}

TEST_F(MusicTest, TheMusicVolumeActsAtOnceAndAtTheNextFadeStep)
{
    music->PlayMusic("main_menu");
    std::string ch = std::to_string(music->Find("main_menu")->ChannelId());
    lib.Advance(500); // level 0.5 after 10 steps
    lib.TakeCalls();
    music->SetVolume(40);
    EXPECT_EQ(lib.TakeCalls(), (std::vector<std::string>{"SetGroupVolume(-1, 40)"}));
    lib.Advance(50);
    EXPECT_EQ(lib.TakeCalls(), (std::vector<std::string>{"SetChannelVolume(" + ch + ", 22)"}));
    EXPECT_EQ(music->GetVolume(), 40);

    // At volume 0 the fade still runs its steps.
    music->SetVolume(0);
    lib.Advance(450);
    std::vector<std::string> calls = lib.TakeCalls();
    std::vector<std::string> steps = Only(calls, "SetChannelVolume");
    EXPECT_EQ(steps.size(), 9u);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "SetChannelVolume(" + ch + ", 0)"), 9);
    EXPECT_EQ(Only(calls, "SetChannelWorker"), (std::vector<std::string>{"SetChannelWorker(" + ch + ", none, 100)"}));
}

TEST_F(MusicTest, BackToTheOldTrackWithinItsFadeOutUsesTheSameChannel)
{
    MenuPlaying();
    MusicStream* menu = music->Find("main_menu");
    int menuChannel = menu->ChannelId();
    music->PlayMusic("level");
    lib.Advance(700);
    lib.TakeCalls();
    music->PlayMusic("main_menu");
    std::vector<std::string> calls = lib.TakeCalls();
    EXPECT_TRUE(Only(calls, "LoadSample").empty());
    EXPECT_TRUE(Only(calls, "PlaySample").empty());
    lib.Advance(3000);
    EXPECT_EQ(menu->ChannelId(), menuChannel);
    EXPECT_GE(menu->Level(), 1.0f);
    EXPECT_EQ(lib.ChannelStatus(menuChannel), plat::SoundLibrary::kPlaying);
    EXPECT_EQ(music->Find("level")->SampleId(), 0);
    EXPECT_EQ(music->Find("level")->ChannelId(), 0);
    // One channel is left: the menu's.
    EXPECT_EQ(platform.audio.GetMixer().VoiceCount(), 1u);
}

TEST_F(MusicTest, DeletingTheManagerMidFadeLeavesNoWorkerBehind)
{
    MenuPlaying();
    music->PlayMusic("level");
    lib.Advance(300);
    music.reset();
    lib.TakeCalls();
    lib.Advance(3000);
    EXPECT_TRUE(lib.TakeCalls().empty());
}

TEST_F(MusicTest, LoadStopsAtABadOrRepeatedEntry)
{
    struct Case {
        const char* what;
        const char* streams;
        std::vector<std::string> known;
    } cases[] = {
        {"no name", "<stream name=\"a\" path=\"a.wav\"/><stream path=\"b.wav\"/><stream name=\"c\" path=\"c.wav\"/>",
         {"a"}},
        {"no path", "<stream name=\"a\" path=\"a.wav\"/><stream name=\"b\"/><stream name=\"c\" path=\"c.wav\"/>", {"a"}},
        {"a repeated name",
         "<stream name=\"a\" path=\"a.wav\"/><stream name=\"a\" path=\"b.wav\"/><stream name=\"c\" path=\"c.wav\"/>",
         {"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadOffice(std::string("<office><music>") + c.streams + "</music></office>");
        MusicManager m;
        EXPECT_FALSE(m.Load(office));
        for (const char* name : {"a", "b", "c"})
            EXPECT_EQ(m.Find(name) != nullptr,
                      std::find(c.known.begin(), c.known.end(), name) != c.known.end())
                << name;
        EXPECT_EQ(m.Find("a")->Path(), "a.wav");
    }
}

// An Ogg track is decoded on the library's thread: the game's track starts
// (and fades) at once, sounds when its first block is ready, and may fade out
// and be unloaded before its decoding is through.
TEST_F(MusicTest, AnOggTrackPlaysWhileItIsDecoded)
{
    dir.Write("music/song.ogg", ReadText(std::string(ZELK_FIXTURES) + "/sound/second.ogg"));
    LoadOffice("<office><music><stream name=\"song\" path=\"music\\song.ogg\"/>"
               "<stream name=\"other\" path=\"music\\menu.wav\"/></music></office>");
    MusicManager m;
    ASSERT_TRUE(m.Load(office));
    lib.HoldDecoding();
    lib.TakeCalls();
    m.PlayMusic("song");
    MusicStream* song = m.Find("song");
    std::string ch = std::to_string(song->ChannelId());
    EXPECT_EQ(lib.TakeCalls(),
              (std::vector<std::string>{"LoadSample(music\\song.ogg, 0, none)",
                                        "PlaySample(" + std::to_string(song->SampleId()) + ", 1, -1, 1, 0, 0, 44100, 50)",
                                        "SetChannelWorker(" + ch + ", set, 50)"}));
    EXPECT_EQ(lib.SampleFrames(song->SampleId()), 44100u);
    EXPECT_EQ(lib.SampleFramesDecoded(song->SampleId()), 0u);
    platform.audio.StartCapture();
    lib.Advance(500); // the fade runs, the channel waits for its samples
    EXPECT_EQ(lib.ChannelStatus(song->ChannelId()), plat::SoundLibrary::kPlaying);
    EXPECT_EQ(Only(lib.TakeCalls(), "SetChannelVolume(" + ch).size(), 10u);
    std::vector<int16_t> out = platform.audio.TakeCaptured();
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 0; }));
    lib.DecodeBlocks(1);
    lib.Advance(50);
    out = platform.audio.TakeCaptured();
    EXPECT_TRUE(std::any_of(out.begin(), out.end(), [](int16_t v) { return v != 0; }));

    // Away before the decoding is through: faded out, stopped and unloaded,
    // and its decoding dropped with it.
    m.PlayMusic("other");
    lib.Advance(2000);
    EXPECT_EQ(song->SampleId(), 0);
    EXPECT_FALSE(lib.DecodeBlocks(1));

    // Back again with the decoding running: the loop goes on past the
    // length, the channel alive all along.
    lib.HoldDecoding(false);
    m.PlayMusic("song");
    lib.Advance(3500);
    EXPECT_EQ(lib.SampleFramesDecoded(song->SampleId()), 44100u);
    EXPECT_EQ(lib.ChannelStatus(song->ChannelId()), plat::SoundLibrary::kPlaying);
    EXPECT_GE(song->Level(), 1.0f);
}

// The volumes of the fade steps: even at every music volume, worked out from
// the step reached (in and out, from full level).
TEST_F(MusicTest, FadeStepsAreEvenAtEveryMusicVolume)
{
    struct Case {
        int volume;
        std::vector<int> in, out;
    } cases[] = {
        {100,
         {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100},
         {95, 90, 85, 80, 75, 70, 65, 60, 55, 50, 45, 40, 35, 30, 25, 20, 15, 10, 5, 0}},
        {37,
         {1, 3, 5, 7, 9, 11, 12, 14, 16, 18, 20, 22, 24, 25, 27, 29, 31, 33, 35, 37},
         {35, 33, 31, 29, 27, 25, 24, 22, 20, 18, 16, 14, 12, 11, 9, 7, 5, 3, 1, 0}},
    };
    auto volumes = [&](const std::string& channel) {
        std::vector<int> out;
        for (const std::string& call : Only(lib.TakeCalls(), "SetChannelVolume(" + channel + ", "))
            out.push_back(std::stoi(call.substr(call.find(", ") + 2)));
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volume);
        music->SetVolume(c.volume);
        music->PlayMusic("main_menu");
        std::string ch = std::to_string(music->Find("main_menu")->ChannelId());
        lib.Advance(1000);
        EXPECT_EQ(volumes(ch), c.in);
        EXPECT_EQ(music->Find("main_menu")->Level(), 1.0f);
        music->PlayMusic("");
        lib.Advance(2000);
        EXPECT_EQ(volumes(ch), c.out);
        EXPECT_EQ(music->Find("main_menu")->Level(), 0.0f);
    }
}

// A fade changes the gain in steps; the mixer moves to each in a short ramp,
// so a full-scale low tone, where a step would show most, changes from
// sample to sample no more than the tone itself does.
TEST_F(MusicTest, AFadedFullScaleLowToneHasNoStepInTheWave)
{
    const std::vector<int16_t> tone = LowTone();
    const int ownStep = LargestStep(tone);
    dir.Write("music/menu.wav", WaveFile(1, 44100, 16, Pcm16(tone)));
    platform.audio.StartCapture();
    music->PlayMusic("main_menu");
    lib.Advance(1000);
    music->PlayMusic("");
    lib.Advance(2000);
    std::vector<int16_t> out = platform.audio.TakeCaptured();
    ASSERT_EQ(out.size(), 3000u * 44100 / 1000 * 2);
    const int largest = LargestStep(out, 2);
    int peak = 0;
    for (int16_t v : out)
        peak = std::max(peak, std::abs(int(v)));
    RecordProperty("largest_change", largest);
    RecordProperty("tone_largest_change", ownStep);
    EXPECT_GT(peak, 32000) << "the tone reached full level";
    // A ramp of a 5 % step over 5 ms adds under 8 to the tone's own change.
    EXPECT_LE(largest, ownStep + 8) << "the tone's own largest change is " << ownStep;
}

// Renders a change of track into music_change.wav in the test's folder of
// the build: one tone falls over two seconds while the other rises over one.
TEST_F(MusicTest, AChangeOfTrackRendersAsTwoFades)
{
    MenuPlaying();
    platform.audio.StartCapture();
    music->PlayMusic("level");
    lib.Advance(2500);
    std::vector<int16_t> out = platform.audio.TakeCaptured();
    ASSERT_EQ(out.size(), 2500u * 44100 / 1000 * 2);
    // Peak per 100 ms: rising then steady near full and the sum of two tones.
    auto peak = [&](int fromMs) {
        int p = 0;
        for (size_t i = size_t(fromMs) * 441 / 10 * 2; i < size_t(fromMs + 100) * 441 / 10 * 2; ++i)
            p = std::max(p, std::abs(int(out[i])));
        return p;
    };
    EXPECT_GT(peak(0), 2500);  // the menu still near full
    EXPECT_LT(peak(2100), 3100); // the menu gone, the level alone at full
    EXPECT_GT(peak(2100), 2900);
    Zelk::WaveBytes w;
    uint32_t bytes = uint32_t(out.size() * 2);
    w.Tag("RIFF").U32(bytes + 36).Tag("WAVE");
    w.Tag("fmt ").U32(16).U16(1).U16(2).U32(44100).U32(44100 * 4).U16(4).U16(16);
    w.Tag("data").U32(bytes).Raw(out.data(), bytes);
    std::ofstream file(mFolder.Before() + "/music_change.wav", std::ios::binary);
    file.write(reinterpret_cast<const char*>(w.bytes.data()), std::streamsize(w.bytes.size()));
    EXPECT_TRUE(file.good());
}

} // namespace
