#include "platform/NullPlatform.h"
#include "platform/dsound/DirectSound.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace plat;

namespace {

struct BufferDeleter {
    void operator()(SoundBuffer* b) const { delete b; }
};
using BufferPtr = std::unique_ptr<SoundBuffer, BufferDeleter>;

class DirectSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearDSoundFaults();
        DirectSound* d = nullptr;
        ASSERT_EQ(DirectSoundCreate(&d), DS_OK);
        ds.reset(d);
        ASSERT_EQ(ds->SetCooperativeLevel(1, DSSCL_PRIORITY), DS_OK);
    }
    void TearDown() override { ClearDSoundFaults(); }

    // A mono 16-bit buffer holding the given samples.
    BufferPtr Make(const std::vector<int16_t>& samples, uint32_t rate = 44100)
    {
        WaveFormat f{WAVE_FORMAT_PCM, 1, rate, rate * 2, 2, 16, 0};
        SoundBufferDesc desc{20, 0x80EA, uint32_t(samples.size() * 2), &f};
        SoundBuffer* b = nullptr;
        EXPECT_EQ(ds->CreateSoundBuffer(desc, &b), DS_OK);
        Fill(b, samples);
        return BufferPtr(b);
    }
    static void Fill(SoundBuffer* b, const std::vector<int16_t>& samples)
    {
        void* p = nullptr;
        uint32_t n = 0;
        ASSERT_EQ(b->Lock(0, b->Bytes(), &p, &n), DS_OK);
        std::memcpy(p, samples.data(), n);
        ASSERT_EQ(b->Unlock(p, n), DS_OK);
    }
    static uint32_t Status(SoundBuffer* b)
    {
        uint32_t s = 99;
        EXPECT_EQ(b->GetStatus(&s), DS_OK);
        return s;
    }

    NullPlatform platform;
    std::unique_ptr<DirectSound> ds;
};

} // namespace

TEST_F(DirectSoundTest, PlayingEndsByItselfAsTheClockAdvances)
{
    auto b = Make(std::vector<int16_t>(441, 1000)); // 10 ms at 44100 Hz
    ASSERT_EQ(b->Play(0), DS_OK);
    platform.clock.Advance(5);
    EXPECT_EQ(Status(b.get()), DSBSTATUS_PLAYING);
    uint32_t pos = 0;
    ASSERT_EQ(b->GetCurrentPosition(&pos), DS_OK);
    EXPECT_EQ(pos, 220u * 2); // 5 ms = 220.5 frames, whole frames only
    platform.clock.Advance(5);
    EXPECT_EQ(Status(b.get()), 0u);

    ASSERT_EQ(b->Play(DSBPLAY_LOOPING), DS_OK);
    platform.clock.Advance(1000);
    EXPECT_EQ(Status(b.get()), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    ASSERT_EQ(b->Stop(), DS_OK);
    EXPECT_EQ(Status(b.get()), 0u);
}

TEST_F(DirectSoundTest, VolumeAndPanAreDecibelGainsInTheMix)
{
    struct Case {
        int32_t volume, pan;
        int16_t left, right;
    } cases[] = {
        {0, 0, 10000, 10000},
        {-600, 0, 5011, 5011},   // 10^(-600/2000) = 0.501
        {-2000, 0, 1000, 1000},  // a tenth
        {-10000, 0, 0, 0},       // the lowest volume is silence
        {0, 10000, 0, 10000},    // full right silences the left side
        {0, -2000, 10000, 1000}, // pan attenuates only the other side
        {-600, 2000, 501, 5011},
    };
    auto b = Make(std::vector<int16_t>(44100, 10000));
    platform.audio.StartCapture();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
        ASSERT_EQ(b->SetVolume(c.volume), DS_OK);
        ASSERT_EQ(b->SetPan(c.pan), DS_OK);
        ASSERT_EQ(b->SetCurrentPosition(0), DS_OK);
        ASSERT_EQ(b->Play(0), DS_OK);
        platform.audio.TakeCaptured();
        platform.clock.Advance(1);
        auto out = platform.audio.TakeCaptured();
        ASSERT_EQ(out.size(), 88u); // 44 frames in the first millisecond
        EXPECT_EQ(out[0], c.left);
        EXPECT_EQ(out[1], c.right);
        ASSERT_EQ(b->Stop(), DS_OK);
    }
}

TEST_F(DirectSoundTest, DuplicateSharesSamplesButHasItsOwnSettings)
{
    auto original = Make(std::vector<int16_t>(8, 0));
    SoundBuffer* d = nullptr;
    ASSERT_EQ(ds->DuplicateSoundBuffer(original.get(), &d), DS_OK);
    BufferPtr dup(d);
    EXPECT_EQ(ds->LiveBuffers(), 2);
    // Written through the original after duplicating: the duplicate hears it.
    Fill(original.get(), {0, 2000, 4000, 6000, 8000, 10000, 12000, 14000});
    ASSERT_EQ(dup->SetFrequency(22050), DS_OK);
    ASSERT_EQ(dup->SetVolume(-2000), DS_OK);
    uint32_t f = 0;
    ASSERT_EQ(original->GetFrequency(&f), DS_OK);
    EXPECT_EQ(f, 44100u);
    int32_t v = 1;
    ASSERT_EQ(original->GetVolume(&v), DS_OK);
    EXPECT_EQ(v, 0);

    platform.audio.StartCapture();
    ASSERT_EQ(dup->Play(0), DS_OK);
    platform.clock.Advance(1);
    auto out = platform.audio.TakeCaptured();
    ASSERT_GE(out.size(), 8u);
    // Half speed at a tenth of the volume: 0, 100, 200, 300 on the left.
    EXPECT_EQ((std::vector<int16_t>{out[0], out[2], out[4], out[6]}), (std::vector<int16_t>{0, 100, 200, 300}));
    EXPECT_EQ(Status(original.get()), 0u);
    dup.reset();
    EXPECT_EQ(ds->LiveBuffers(), 1);
}

TEST_F(DirectSoundTest, OutOfRangeValuesAndBadFormatsAreRefused)
{
    auto b = Make(std::vector<int16_t>(16, 0), 22050);
    EXPECT_EQ(b->SetFrequency(99), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetFrequency(100001), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetFrequency(100), DS_OK);
    EXPECT_EQ(b->SetFrequency(100000), DS_OK);
    EXPECT_EQ(b->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    uint32_t f = 0;
    b->GetFrequency(&f);
    EXPECT_EQ(f, 22050u);
    EXPECT_EQ(b->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetPan(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetVolume(-10001), DSERR_INVALIDPARAM);
    int32_t pan = 1;
    b->GetPan(&pan);
    EXPECT_EQ(pan, 0);
    void* p = nullptr;
    uint32_t n = 0;
    EXPECT_EQ(b->Lock(0, 33, &p, &n), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Lock(32, 1, &p, &n), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetFormat(WaveFormat{1, 2, 44100, 176400, 4, 16, 0}), DSERR_INVALIDCALL);

    struct Bad {
        WaveFormat format;
        uint32_t bytes;
    } bad[] = {
        {{2, 1, 22050, 44100, 2, 16, 0}, 16},  // not PCM
        {{1, 0, 22050, 0, 0, 16, 0}, 16},      // no channels
        {{1, 1, 22050, 33075, 3, 12, 0}, 16},  // 12 bits
        {{1, 1, 0, 0, 2, 16, 0}, 16},          // rate 0
        {{1, 2, 22050, 88200, 2, 16, 0}, 16},  // block alignment does not fit
        {{1, 1, 22050, 44100, 2, 16, 0}, 0},   // no bytes
        {{1, 1, 22050, 44100, 2, 16, 0}, DSBSIZE_MAX + 1},
    };
    for (const Bad& c : bad) {
        SoundBufferDesc desc{20, 0x80EA, c.bytes, &c.format};
        SoundBuffer* out = reinterpret_cast<SoundBuffer*>(1);
        EXPECT_TRUE(Failed(ds->CreateSoundBuffer(desc, &out)));
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(ds->LiveBuffers(), 1);
}

TEST_F(DirectSoundTest, PrimaryFormatNeedsPriorityAndInjectedFaultsRunOut)
{
    SoundBuffer* p = nullptr;
    ASSERT_EQ(ds->CreateSoundBuffer(SoundBufferDesc{20, DSBCAPS_PRIMARYBUFFER, 0, nullptr}, &p), DS_OK);
    BufferPtr primary(p);
    WaveFormat cd{1, 2, 44100, 176400, 4, 16, 18};
    ASSERT_EQ(ds->SetCooperativeLevel(1, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(primary->SetFormat(cd), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(ds->SetCooperativeLevel(1, DSSCL_PRIORITY), DS_OK);
    EXPECT_EQ(primary->SetFormat(cd), DS_OK);
    uint32_t size = 0;
    ASSERT_EQ(primary->GetFormat(nullptr, 0, &size), DS_OK);
    EXPECT_EQ(size, 18u);
    WaveFormat got;
    ASSERT_EQ(primary->GetFormat(&got, size, &size), DS_OK);
    EXPECT_EQ(got.samplesPerSec, 44100u);
    EXPECT_EQ(got.channels, 2);

    FailDSound(DsOp::Play, DSERR_BUFFERLOST, 1, 2);
    auto b = Make({1, 2, 3, 4});
    EXPECT_EQ(b->Play(0), DS_OK);
    EXPECT_EQ(b->Play(0), DSERR_BUFFERLOST);
    EXPECT_EQ(b->Play(0), DSERR_BUFFERLOST);
    EXPECT_EQ(b->Play(0), DS_OK);
}

TEST(DirectSoundCreate, FailsWithoutAnAudioDevice)
{
    NullPlatform platform;
    platform.audio.SetAvailable(false);
    DirectSound* ds = reinterpret_cast<DirectSound*>(1);
    EXPECT_EQ(DirectSoundCreate(&ds), DSERR_NODRIVER);
    EXPECT_EQ(ds, nullptr);
    platform.audio.SetAvailable(true);
    ASSERT_EQ(DirectSoundCreate(&ds), DS_OK);
    EXPECT_TRUE(platform.audio.IsOpen());
    delete ds;
    EXPECT_FALSE(platform.audio.IsOpen());
}
