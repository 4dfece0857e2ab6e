#include "framework/sound/DSoundInstance.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/FModMusicInterface.h"
#include "framework/sound/FmodInstance.h"
#include "platform/NullPlatform.h"
#include "platform/app/ExitCodes.h"
#include "platform/dsound/DirectSound.h"
#include "tests/framework/sound/FakeFmod.h"
#include "tests/framework/sound/SoundTestUtil.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Zelk;
using namespace soundtest;

namespace {

constexpr plat::WindowHandle kWindow = 7;

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override { plat::ClearDSoundFaults(); }
    void TearDown() override { plat::ClearDSoundFaults(); }

    // A mono 16-bit wave on disk; the name to load it by (absolute, so it is
    // never cached).
    std::string Wave(const std::string& name, uint32_t rate, const std::vector<int16_t>& samples)
    {
        tmp.Write(name + ".wav", WaveFile(1, rate, 16, Pcm16(samples)));
        return tmp / name;
    }
    // A manager with one sound loaded into id 0: 441 frames (10 ms) at 44100 Hz.
    std::unique_ptr<DSoundManager> WithBeep()
    {
        auto mgr = std::make_unique<DSoundManager>(kWindow, false);
        EXPECT_TRUE(mgr->LoadSound(0, Wave("beep", 44100, std::vector<int16_t>(441, 8000))));
        return mgr;
    }
    static plat::SoundBuffer* Buf(SoundInstance* inst) { return static_cast<DSoundInstance*>(inst)->GetBuffer(); }
    static int32_t VolumeOf(SoundInstance* inst)
    {
        int32_t v = 1;
        EXPECT_EQ(Buf(inst)->GetVolume(&v), plat::DS_OK);
        return v;
    }

    plat::NullPlatform platform;
    testsupport::TempDir tmp;
};

} // namespace

TEST_F(SoundManagerTest, VolumeIsMasterTimesBaseTimesOwnInHundredthsOfADecibel)
{
    struct {
        double master, base, own;
        int32_t expected;
    } cases[] = {
        {1, 1, 1, 0},         {1, 1, 0.75, -258},     {0.5, 1, 1, -605},      {0.5, 0.5, 1, -1138},
        {1, 0.1, 1, -1682},   {1, 1, 0.05, -1956},    {0.04, 1, 1, -10000},   {0, 1, 1, -10000},
        {1, 1, -1, -10000}, // a negative volume is silence, not a logarithm of a negative number
    };
    auto mgr = WithBeep();
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.master << " x " << c.base << " x " << c.own);
        mgr->SetVolume(1.0);
        mgr->SetBaseVolume(0, c.base);
        SoundInstance* inst = mgr->GetSoundInstance(0);
        ASSERT_NE(inst, nullptr);
        inst->SetVolume(c.own);
        mgr->SetVolume(c.master); // reaches instances already made
        EXPECT_EQ(VolumeOf(inst), c.expected);
        EXPECT_DOUBLE_EQ(inst->GetVolume(), c.own);
        inst->Release();
    }
}

TEST_F(SoundManagerTest, PitchScalesTheNativeFrequencyWithinTheBufferRange)
{
    struct {
        double steps;
        uint32_t frequency;
    } cases[] = {
        {0, 22050}, {12, 44100}, {-96, 100}, {200, 100000}, {-12, 11024}, // pow gives 11024.99..., truncated
    };
    DSoundManager mgr(kWindow, false);
    ASSERT_TRUE(mgr.LoadSound(3, Wave("low", 22050, std::vector<int16_t>(64, 0))));
    for (auto& c : cases) {
        SoundInstance* inst = mgr.GetSoundInstance(3);
        ASSERT_NE(inst, nullptr);
        inst->AdjustPitch(c.steps);
        uint32_t f = 0;
        Buf(inst)->GetFrequency(&f);
        EXPECT_EQ(f, c.frequency) << c.steps << " semitones";
        inst->Release();
    }
}

TEST_F(SoundManagerTest, PanIsBasePlusOwnClampedToTheFullSides)
{
    struct {
        int base, own, expected;
    } cases[] = {
        {0, 0, 0}, {3000, -1000, 2000}, {8000, 5000, 10000}, {-8000, -5000, -10000}, {0, 2000000000, 10000},
    };
    auto mgr = WithBeep();
    for (auto& c : cases) {
        mgr->SetBasePan(0, c.base);
        SoundInstance* inst = mgr->GetSoundInstance(0);
        ASSERT_NE(inst, nullptr);
        inst->SetPan(c.own);
        int32_t pan = 1;
        Buf(inst)->GetPan(&pan);
        EXPECT_EQ(pan, c.expected) << c.base << " + " << c.own;
        inst->Release();
    }
}

TEST_F(SoundManagerTest, AFullChannelTableGivesNullUntilAChannelIsReleasedOrFinished)
{
    auto mgr = WithBeep();
    std::vector<SoundInstance*> live;
    for (int i = 0; i < DSoundManager::kMaxChannels; ++i) {
        live.push_back(mgr->GetSoundInstance(0));
        ASSERT_NE(live.back(), nullptr);
        ASSERT_TRUE(live.back()->Play(true, false));
    }
    EXPECT_EQ(mgr->GetSoundInstance(0), nullptr);

    // A released instance gives its channel to the next request.
    live[5]->Release();
    SoundInstance* next = mgr->GetSoundInstance(0);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(mgr->GetChannel(5), next);
    EXPECT_EQ(mgr->GetSoundInstance(0), nullptr);

    // An auto-release instance that played to its end is reclaimed.
    ASSERT_TRUE(live[9]->Play(false, true));
    EXPECT_TRUE(live[9]->IsPlaying());
    EXPECT_EQ(mgr->GetSoundInstance(0), nullptr);
    platform.clock.Advance(10); // the 441 frames have played
    EXPECT_FALSE(live[9]->IsPlaying());
    SoundInstance* reused = mgr->GetSoundInstance(0);
    ASSERT_NE(reused, nullptr);
    EXPECT_EQ(mgr->GetChannel(9), reused);
}

TEST_F(SoundManagerTest, FinishedInstancesAreSweptOnlyAfterMoreThanASecond)
{
    auto mgr = WithBeep();
    SoundInstance* a = mgr->GetSoundInstance(0);
    SoundInstance* b = mgr->GetSoundInstance(0);
    ASSERT_TRUE(a && b);
    a->Release();
    b->Release();
    // The search reuses channel 0 and stops there; channel 1 waits for a sweep.
    platform.clock.Set(1000);
    ASSERT_NE(mgr->GetSoundInstance(0), nullptr);
    EXPECT_EQ(mgr->GetChannel(1), b);

    mgr->GetChannel(0)->Release();
    platform.clock.Set(1001);
    ASSERT_NE(mgr->GetSoundInstance(0), nullptr);
    EXPECT_EQ(mgr->GetChannel(1), nullptr);
}

TEST_F(SoundManagerTest, StopAllSoundsKeepsAutoReleaseButStopClearsIt)
{
    auto mgr = WithBeep();
    SoundInstance* all = mgr->GetSoundInstance(0);
    SoundInstance* own = mgr->GetSoundInstance(0);
    ASSERT_TRUE(all->Play(true, true));
    ASSERT_TRUE(own->Play(true, true));
    own->Stop();
    mgr->StopAllSounds();
    EXPECT_FALSE(all->IsPlaying());
    EXPECT_TRUE(all->IsReleased());  // reclaimed: it keeps auto-release
    EXPECT_FALSE(own->IsReleased()); // waits for its owner's Release
    own->Release();
    EXPECT_TRUE(own->IsReleased());
}

TEST_F(SoundManagerTest, APlayedSoundIsHeardAtItsVolumeAndEndsByItself)
{
    auto mgr = WithBeep();
    platform.audio.StartCapture();
    SoundInstance* inst = mgr->GetSoundInstance(0);
    inst->SetVolume(0.5); // -605: a gain of 10^(-605/2000)
    ASSERT_TRUE(inst->Play(false, true));
    platform.clock.Advance(20);
    auto out = platform.audio.TakeCaptured();
    ASSERT_EQ(out.size(), 882u * 2);
    EXPECT_EQ(out[0], 3986);
    EXPECT_EQ(out[2 * 440 + 1], 3986);
    EXPECT_EQ(out[2 * 441], 0);
    EXPECT_TRUE(inst->IsReleased());
}

TEST_F(SoundManagerTest, FindSoundIdLoadsNewNamesFromTheTopAndLoadSoundReplaces)
{
    DSoundManager mgr(kWindow, false);
    std::string a = Wave("a", 22050, {1, 2}), b = Wave("b", 22050, {3, 4});
    EXPECT_EQ(mgr.FindSoundId(a), 255);
    EXPECT_EQ(mgr.FindSoundId(b), 254);
    EXPECT_EQ(mgr.FindSoundId(a), 255);
    EXPECT_EQ(mgr.GetFreeSoundId(), 0);
    EXPECT_EQ(mgr.GetNumSounds(), 2);

    // Loading into an occupied id releases the old sound even when the new
    // one cannot be loaded; the failed name stays recorded.
    EXPECT_FALSE(mgr.LoadSound(254, tmp / "missing"));
    EXPECT_EQ(mgr.GetSoundBuffer(254), nullptr);
    EXPECT_EQ(mgr.GetNumSounds(), 1);
    EXPECT_EQ(mgr.FindSoundId(tmp / "missing"), 254);
    EXPECT_EQ(mgr.GetSoundInstance(254), nullptr);
    EXPECT_EQ(mgr.FindSoundId(tmp / "absent"), -1);

    mgr.ReleaseSounds();
    EXPECT_EQ(mgr.GetNumSounds(), 0);
    EXPECT_EQ(mgr.GetSoundFileName(255), a); // names stay
}

TEST_F(SoundManagerTest, IdsOf256AndAboveAreRefusedEverywhere)
{
    auto mgr = WithBeep();
    for (unsigned id : {256u, 1000u, unsigned(-1)}) {
        EXPECT_FALSE(mgr->LoadSound(id, tmp / "beep")) << id;
        EXPECT_FALSE(mgr->SetBaseVolume(id, 0.5)) << id;
        EXPECT_FALSE(mgr->SetBasePan(id, 100)) << id;
        EXPECT_EQ(mgr->GetSoundInstance(id), nullptr) << id;
        mgr->ReleaseSound(id);
    }
    EXPECT_EQ(mgr->GetNumSounds(), 1);
}

TEST_F(SoundManagerTest, WithoutDirectSoundEverythingWorksSilently)
{
    struct {
        const char* why;
        plat::WindowHandle window;
        bool moduleAbsent, deviceAbsent;
    } cases[] = {
        {"sound off", 0, false, false},
        {"no dsound.dll", kWindow, true, false},
        {"no audio device", kWindow, false, true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.why);
        platform.modules.SetAbsent("dsound.dll", c.moduleAbsent);
        platform.audio.SetAvailable(!c.deviceAbsent);
        DSoundManager mgr(c.window, false);
        EXPECT_FALSE(mgr.Initialized());
        EXPECT_TRUE(mgr.LoadSound(0, tmp / "anything"));
        EXPECT_EQ(mgr.FindSoundId("x"), 255);
        EXPECT_EQ(mgr.FindSoundId("x"), 255); // nothing is recorded without a device
        SoundInstance* inst = mgr.GetSoundInstance(17);
        ASSERT_NE(inst, nullptr);
        inst->SetVolume(0.5);
        inst->AdjustPitch(3);
        inst->SetPan(100);
        EXPECT_FALSE(inst->Play(false, false));
        EXPECT_FALSE(inst->IsPlaying());
        EXPECT_FALSE(platform.audio.IsOpen());
    }
}

TEST_F(SoundManagerTest, AFailedDuplicateGivesNoInstanceAndNamesTheError)
{
    auto mgr = WithBeep();
    platform.debug.StartCapture();
    plat::FailDSound(plat::DsOp::DuplicateSoundBuffer, plat::DSERR_OUTOFMEMORY);
    EXPECT_EQ(mgr->GetSoundInstance(0), nullptr);
    EXPECT_NE(platform.debug.StopCapture().find("DSERR_OUTOFMEMORY"), std::string::npos);
    EXPECT_EQ(mgr->GetChannel(0), nullptr);
    EXPECT_NE(mgr->GetSoundInstance(0), nullptr);
}

TEST_F(SoundManagerTest, PriorityLevelGivesTheCdQualityPrimaryElseNormalLevelWithoutOne)
{
    {
        DSoundManager mgr(kWindow, false);
        ASSERT_TRUE(mgr.Initialized());
        EXPECT_EQ(mgr.GetDirectSound()->CooperativeLevel(), uint32_t(plat::DSSCL_PRIORITY));
        ASSERT_NE(mgr.GetPrimaryBuffer(), nullptr);
        plat::WaveFormat f;
        mgr.GetPrimaryBuffer()->GetFormat(&f, sizeof f, nullptr);
        EXPECT_EQ(f.channels, 2);
        EXPECT_EQ(f.samplesPerSec, 44100u);
        EXPECT_EQ(f.bitsPerSample, 16);
        EXPECT_EQ(f.avgBytesPerSec, 176400u);
        mgr.SetCooperativeWindow(kWindow, true);
        EXPECT_EQ(mgr.GetDirectSound()->CooperativeLevel(), uint32_t(plat::DSSCL_NORMAL));
    }
    plat::FailDSound(plat::DsOp::SetCooperativeLevel, plat::DSERR_ALLOCATED);
    DSoundManager mgr(kWindow, false);
    ASSERT_TRUE(mgr.Initialized());
    EXPECT_EQ(mgr.GetDirectSound()->CooperativeLevel(), uint32_t(plat::DSSCL_NORMAL));
    EXPECT_EQ(mgr.GetPrimaryBuffer(), nullptr);
    EXPECT_TRUE(mgr.LoadSound(0, Wave("w", 22050, {5, 6})));
}

TEST_F(SoundManagerTest, TheSystemWaveVolumeIsKeptInMemory)
{
    DSoundManager mgr(kWindow, false);
    mgr.SetMasterVolume(0.5);
    EXPECT_DOUBLE_EQ(mgr.GetMasterVolume(), 32767 / 65535.0);
    mgr.SetMasterVolume(1.0);
    EXPECT_DOUBLE_EQ(mgr.GetMasterVolume(), 1.0);
}

TEST_F(SoundManagerTest, TheMp3SwitchStartsAndClosesTheSharedFmodBinding)
{
    FakeFmod fmod;
    {
        DSoundManager mgr(kWindow, true);
        EXPECT_EQ(fmod.calls, (std::vector<std::string>{"FSOUND_SetHWND(7)", "FSOUND_SetBufferSize(200)",
                                                        "FSOUND_Init(44100, 64, 2)"}));
        {
            FModMusicInterface music(kWindow);
            EXPECT_EQ(PeekFmodInstance(), PeekFmodInstance());
            EXPECT_EQ(FmodUseCount(), 2);
        }
        EXPECT_NE(PeekFmodInstance(), nullptr);
        EXPECT_EQ(plat::FmodLibraryLoads(), 1);
    }
    EXPECT_EQ(fmod.calls.back(), "FSOUND_Close()");
    EXPECT_EQ(PeekFmodInstance(), nullptr);
    EXPECT_EQ(plat::FmodLibraryLoads(), 0);
}

TEST_F(SoundManagerTest, AMissingFmodLibraryOrEntryPointEndsTheProgram)
{
    EXPECT_EXIT(
        {
            FakeFmod fmod;
            fmod.RemoveExport("_FSOUND_Init@12");
            GetFmodInstance();
        },
        ::testing::ExitedWithCode(plat::kExitMissingLibrary), "\"_FSOUND_Init@12\" function not found in fmod\\.dll");
    EXPECT_EXIT(GetFmodInstance(), ::testing::ExitedWithCode(plat::kExitMissingLibrary), "Can't find fmod\\.dll\\.");
}
