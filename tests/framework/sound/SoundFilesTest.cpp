#include "framework/app/PathUtil.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/MuLaw.h"
#include "platform/NullPlatform.h"
#include "platform/dsound/DirectSound.h"
#include "tests/framework/resources/FakePakInterface.h"
#include "tests/framework/sound/FakeFmod.h"
#include "tests/framework/sound/SoundTestUtil.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace Zelk;
using namespace soundtest;

namespace {

constexpr plat::WindowHandle kWindow = 7;

// The samples of an id's buffer, and its format.
std::vector<uint8_t> Samples(DSoundManager& mgr, unsigned id)
{
    plat::SoundBuffer* b = mgr.GetSoundBuffer(id);
    if (!b)
        return {};
    void* p = nullptr;
    uint32_t n = 0;
    EXPECT_EQ(b->Lock(0, b->Bytes(), &p, &n), plat::DS_OK);
    std::vector<uint8_t> out(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n);
    b->Unlock(p, n);
    return out;
}

plat::WaveFormat Format(DSoundManager& mgr, unsigned id)
{
    plat::WaveFormat f;
    mgr.GetSoundBuffer(id)->GetFormat(&f, sizeof f, nullptr);
    return f;
}

class SoundFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char* cwd = getcwd(nullptr, 0);
        mOldCwd = cwd;
        free(cwd);
        ASSERT_EQ(chdir(tmp.Path().c_str()), 0);
        mOldAppData = gAppDataFolder;
        gAppDataFolder = tmp.Path() + "/data/";
        plat::ClearDSoundFaults();
    }
    void TearDown() override
    {
        gAppDataFolder = mOldAppData;
        EXPECT_EQ(chdir(mOldCwd.c_str()), 0);
        plat::ClearDSoundFaults();
    }
    void SetTime(const std::string& name, time_t sec, long nsec = 0)
    {
        struct timespec t[2] = {{sec, nsec}, {sec, nsec}};
        ASSERT_EQ(utimensat(AT_FDCWD, (tmp / name).c_str(), t, 0), 0);
    }
    std::string CachePath(const std::string& name) { return tmp.Path() + "/data/cached/" + name + ".wav"; }
    // Buffers of the device other than the primary one.
    int SoundBuffers(DSoundManager& mgr) { return mgr.GetDirectSound()->LiveBuffers() - 1; }

    plat::NullPlatform platform;
    testsupport::TempDir tmp;

private:
    std::string mOldCwd;
    std::string mOldAppData;
};

std::string FileTimeBytes(uint64_t t)
{
    std::string s;
    for (int i = 0; i < 8; ++i)
        s += char(t >> (8 * i));
    return s;
}

} // namespace

TEST_F(SoundFilesTest, CachedWaveIsWrittenByteForByteAndReadsBack)
{
    DSoundManager mgr(kWindow, false);
    tmp.Write("w.wav", WaveFile(1, 22050, 16, {0x01, 0x02, 0xA0, 0xFF}));
    ASSERT_TRUE(mgr.ReadWaveFile(1, "w.wav"));
    tmp.Write("snd/a.ogg", "x");
    SetTime("snd/a.ogg", 1000000000, 123456789);

    ASSERT_TRUE(mgr.WriteCachedWave(1, "out.wav", "snd\\a.ogg"));
    std::string expected = std::string("RIFF\x28\0\0\0WAVE", 12) +
                           std::string("fmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0", 24) +
                           std::string("dep \x13\0\0\0\x09\0snd\\a.ogg", 19) +
                           FileTimeBytes((1000000000ull + 11644473600ull) * 10000000ull + 1234567) +
                           std::string("xor \x01\0\0\0\x5D", 9) + std::string("data\x04\0\0\0\x5C\x5F\xFD\xA2", 12);
    EXPECT_EQ(tmp.Read("out.wav"), expected);

    // The sound itself was not scrambled, and the cache reads back unscrambled.
    EXPECT_EQ(Samples(mgr, 1), (std::vector<uint8_t>{0x01, 0x02, 0xA0, 0xFF}));
    ASSERT_TRUE(mgr.ReadWaveFile(2, "out.wav"));
    EXPECT_EQ(Samples(mgr, 2), (std::vector<uint8_t>{0x01, 0x02, 0xA0, 0xFF}));
    EXPECT_EQ(Format(mgr, 2).samplesPerSec, 22050u);

    EXPECT_FALSE(mgr.WriteCachedWave(1, "", "snd\\a.ogg"));
    EXPECT_FALSE(mgr.WriteCachedWave(256, "out2.wav", "snd\\a.ogg"));
    EXPECT_FALSE(mgr.WriteCachedWave(1, "no/such/folder/out.wav", "snd\\a.ogg"));
}

TEST_F(SoundFilesTest, CacheIsUsedWhileTheSourceTimeHoldsAndRebuiltWhenItChanges)
{
    DSoundManager mgr(kWindow, false);
    tmp.Write("snd/s.au", AuFile(2, 8000, 1, {10, 20, 30, 40}));
    SetTime("snd/s.au", 1500000000);
    ASSERT_TRUE(mgr.LoadSound(0, "snd\\s"));
    EXPECT_EQ(Samples(mgr, 0), (std::vector<uint8_t>{138, 148, 158, 168}));
    ASSERT_TRUE(tmp.Exists("data/cached/snd/s.wav"));

    // New content under the same time: the cache still answers.
    tmp.Write("snd/s.au", AuFile(2, 8000, 1, {50, 60, 70, 80}));
    SetTime("snd/s.au", 1500000000);
    ASSERT_TRUE(mgr.LoadSound(0, "snd\\s"));
    EXPECT_EQ(Samples(mgr, 0), (std::vector<uint8_t>{138, 148, 158, 168}));

    // A new time makes it stale: decoded again and the cache rewritten.
    SetTime("snd/s.au", 1500000001);
    ASSERT_TRUE(mgr.LoadSound(0, "snd\\s"));
    EXPECT_EQ(Samples(mgr, 0), (std::vector<uint8_t>{178, 188, 198, 208}));
    std::string cache = tmp.Read("data/cached/snd/s.wav");
    EXPECT_EQ(cache.substr(46 + 8, 8), FileTimeBytes((1500000001ull + 11644473600ull) * 10000000ull));

    // A source deleted from disk makes the cache stale too, and nothing is left.
    ASSERT_EQ(unlink((tmp / "snd/s.au").c_str()), 0);
    EXPECT_FALSE(mgr.LoadSound(0, "snd\\s"));
    EXPECT_EQ(SoundBuffers(mgr), 0);
}

TEST_F(SoundFilesTest, ASourceOnlyInAnArchiveKeepsItsCacheValid)
{
    DSoundManager mgr(kWindow, false);
    {
        FakePakInterface pak;
        pak.Add("snd\\b.au", AuFile(2, 8000, 1, {1, 2, 3, 4}));
        ASSERT_TRUE(pak.Publish());
        ASSERT_TRUE(mgr.LoadSound(0, "snd\\b"));
        EXPECT_EQ(pak.openHandles, 0);
    }
    EXPECT_EQ(tmp.Read("data/cached/snd/b.wav").substr(46 + 8, 8), FileTimeBytes(0));
    ASSERT_TRUE(mgr.LoadSound(0, "snd\\b")); // the archive is gone; the cache answers
    EXPECT_EQ(Samples(mgr, 0), (std::vector<uint8_t>{129, 130, 131, 132}));

    tmp.Write("snd/b.au", AuFile(2, 8000, 1, {9, 9, 9, 9}));
    ASSERT_TRUE(mgr.LoadSound(0, "snd\\b"));
    EXPECT_EQ(Samples(mgr, 0), (std::vector<uint8_t>{137, 137, 137, 137}));
}

TEST_F(SoundFilesTest, SearchOrderIsCacheWaveMp3OggAu)
{
    FakeFmod fmod;
    fmod.AddSampleFile("snd\\x.mp3", {1, 0, 2, 0}, 11025, 0x20); // mono 16-bit
    std::string au = AuFile(2, 8000, 1, {7, 7, 7, 7});
    std::string cached = gAppDataFolder + "cached\\snd\\x.wav";
    {
        DSoundManager mgr(kWindow, false);
        FakePakInterface pak;
        pak.Publish();
        EXPECT_FALSE(mgr.LoadSound(0, "snd\\x"));
        EXPECT_EQ(pak.opened, (std::vector<std::string>{cached, "snd\\x.wav", "snd\\x.ogg", "snd\\x.au"}));
        EXPECT_TRUE(fmod.Calls("FSOUND_Sample_Load").empty()); // the mp3 switch is off

        pak.Add("snd\\x.au", au);
        pak.opened.clear();
        EXPECT_TRUE(mgr.LoadSound(0, "snd\\x"));
        EXPECT_EQ(Samples(mgr, 0), (std::vector<uint8_t>{135, 135, 135, 135}));
        pak.opened.clear();
        EXPECT_TRUE(mgr.LoadSound(0, "snd\\x")); // now from the cache alone
        EXPECT_EQ(pak.opened, (std::vector<std::string>{cached}));
        EXPECT_EQ(pak.openHandles, 0);
    }
    ASSERT_EQ(unlink(CachePath("snd/x").c_str()), 0);
    {
        DSoundManager mgr(kWindow, true);
        FakePakInterface pak;
        pak.Publish();
        pak.Add("snd\\x.au", au);
        fmod.ClearCalls();
        ASSERT_TRUE(mgr.LoadSound(0, "snd\\x"));
        EXPECT_EQ(pak.opened, (std::vector<std::string>{cached, "snd\\x.wav"}));
        EXPECT_EQ(fmod.Calls("FSOUND_Sample_Load"),
                  (std::vector<std::string>{"FSOUND_Sample_Load(-1, snd\\x.mp3, 0, 0)"}));
        EXPECT_EQ(Samples(mgr, 0), (std::vector<uint8_t>{1, 0, 2, 0}));
        EXPECT_EQ(Format(mgr, 0).samplesPerSec, 11025u);
        EXPECT_EQ(Format(mgr, 0).channels, 1);
        EXPECT_EQ(fmod.LiveSamples(), 0);
        EXPECT_NE(tmp.Read("data/cached/snd/x.wav").find("snd\\x.mp3"), std::string::npos);
    }
}

TEST_F(SoundFilesTest, ShortAbsoluteClimbingAndWaveNamesAreNeverCached)
{
    const char* names[] = {"ab", "\\x", "/x", "c:x", "snd\\..\\..\\x", "..\\x", "snd\\wav"};
    DSoundManager mgr(kWindow, false);
    FakePakInterface pak;
    pak.Publish();
    for (const char* name : names) {
        std::string n = name;
        if (n == "snd\\wav")
            pak.Add(n + ".wav", WaveFile(1, 8000, 8, {1, 2, 3, 4}));
        else
            pak.Add(n + ".au", AuFile(2, 8000, 1, {1, 2, 3, 4}));
        pak.opened.clear();
        EXPECT_TRUE(mgr.LoadSound(0, n)) << n;
        if (n == "snd\\wav")
            continue; // looked for in the cache, but never written there
        for (const std::string& opened : pak.opened)
            EXPECT_EQ(opened.find("cached"), std::string::npos) << n;
    }
    EXPECT_FALSE(tmp.Exists("data/cached/snd/wav.wav"));
    EXPECT_FALSE(tmp.Exists("x.wav"));
    EXPECT_FALSE(tmp.Exists("data/x.wav"));
}

TEST_F(SoundFilesTest, WaveReaderWalksChunksWithoutPadBytes)
{
    std::vector<uint8_t> pcm = Pcm16({100, -100, 200, -200});
    auto chunk = [](const char* id, const std::string& body) {
        WaveBytes w;
        w.Tag(id).U32(uint32_t(body.size())).Str(body);
        return w;
    };
    WaveBytes oddChunk = chunk("junk", "abc");
    WaveBytes oddChunkPadded = chunk("junk", "abc");
    oddChunkPadded.U8(0);
    WaveBytes xorChunk = chunk("xor ", "\x21");
    // A source name longer than 255 bytes: the time after it must still be found.
    std::string longName(300, 'n');
    WaveBytes dep;
    dep.Tag("dep ").U32(uint32_t(longName.size() + 10)).U16(uint16_t(longName.size())).Str(longName).U64(0);

    auto header = [](const char* riff, const char* wave) {
        WaveBytes w;
        w.Tag(riff).U32(0).Tag(wave);
        return Str(w);
    };
    std::string plain = WaveFile(1, 22050, 16, pcm);
    struct Case {
        const char* what;
        std::string file;
        bool loads;
    } cases[] = {
        {"plain", plain, true},
        {"fmt of 18 bytes", WaveFile(1, 22050, 16, pcm, {}, 18), true},
        {"fmt of 40 bytes", WaveFile(1, 22050, 16, pcm, {}, 40), true},
        {"odd chunk as the cache writes it", WaveFile(1, 22050, 16, pcm, oddChunk), true},
        {"odd chunk with a pad byte", WaveFile(1, 22050, 16, pcm, oddChunkPadded), false},
        {"long source name", WaveFile(1, 22050, 16, pcm, dep), true},
        {"key", WaveFile(1, 22050, 16, pcm, xorChunk), true},
        {"not PCM", header("RIFF", "WAVE") + Str(FmtChunk(1, 22050, 16, 16, 3)) + "data\x08\0\0\0" +
                        std::string(pcm.begin(), pcm.end()),
         false},
        {"short data", plain.substr(0, plain.size() - 1), false},
        {"huge data size", plain.substr(0, 40) + std::string("\xF0\xFF\xFF\xFF", 4) + plain.substr(44), false},
        {"no channels", WaveFile(0, 22050, 16, pcm), false},
        {"12 bits", WaveFile(1, 22050, 12, pcm), false},
        {"rate 0", WaveFile(1, 0, 16, pcm), false},
        {"not RIFF", "RIFX" + plain.substr(4), false},
        {"not WAVE", plain.substr(0, 8) + "AVI " + plain.substr(12), false},
        {"no data chunk", header("RIFF", "WAVE") + Str(FmtChunk(1, 22050, 16)), false},
        {"empty", "", false},
    };
    DSoundManager mgr(kWindow, false);
    FakePakInterface pak;
    pak.Publish();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pak.Add("t.wav", c.file);
        mgr.ReleaseSound(0);
        EXPECT_EQ(mgr.ReadWaveFile(0, "t.wav"), c.loads);
        EXPECT_EQ(pak.openHandles, 0);
        EXPECT_EQ(SoundBuffers(mgr), c.loads ? 1 : 0); // a failed read leaves no buffer behind
        if (!c.loads)
            continue;
        ASSERT_NE(mgr.GetSoundBuffer(0), nullptr);
        std::vector<uint8_t> expected = pcm;
        if (std::string(c.what) == "key")
            for (uint8_t& b : expected)
                b ^= 0x21;
        EXPECT_EQ(Samples(mgr, 0), expected);
        EXPECT_EQ(mgr.GetSampleLength(0), 8u);
        EXPECT_EQ(Format(mgr, 0).samplesPerSec, 22050u);
    }
}

TEST_F(SoundFilesTest, AReaderWhoseBufferFailsReleasesIt)
{
    DSoundManager mgr(kWindow, false);
    tmp.Write("w.wav", WaveFile(1, 22050, 16, Pcm16({1, 2, 3})));
    tmp.Write("m.au", AuFile(1, 8000, 1, {1, 2, 3}));
    plat::FailDSound(plat::DsOp::Unlock, plat::DSERR_INVALIDCALL);
    EXPECT_FALSE(mgr.ReadWaveFile(0, "w.wav"));
    plat::FailDSound(plat::DsOp::Lock, plat::DSERR_INVALIDCALL);
    EXPECT_FALSE(mgr.ReadAuFile(0, "m.au"));
    plat::FailDSound(plat::DsOp::CreateSoundBuffer, plat::DSERR_OUTOFMEMORY);
    EXPECT_FALSE(mgr.ReadAuFile(0, "m.au"));
    EXPECT_EQ(SoundBuffers(mgr), 0);
    EXPECT_TRUE(mgr.ReadAuFile(0, "m.au"));
}

TEST_F(SoundFilesTest, MuLawBytesDecodeBySegment)
{
    struct {
        uint8_t byte;
        int16_t sample;
    } cases[] = {
        {255, 0}, {254, 8}, {200, 1344}, {129, 30592}, {127, 0}, {1, -30592},
        // The loudest bytes are one step beyond 129 and 1, not near silence.
        {128, 31616}, {0, -31616},
    };
    for (auto& c : cases)
        EXPECT_EQ(MuLawToLinear(c.byte), c.sample) << int(c.byte);
    for (int b = 129; b < 255; ++b)
        EXPECT_GT(MuLawToLinear(uint8_t(b)), MuLawToLinear(uint8_t(b + 1))) << b;
}

TEST_F(SoundFilesTest, AuFilesOfMuLawAndLinearBytes)
{
    struct Case {
        const char* what;
        std::string file;
        bool loads;
        uint16_t bits, channels;
        std::vector<uint8_t> samples;
    } cases[] = {
        {"mu-law", AuFile(1, 8000, 1, {255, 254, 0}), true, 16, 1, Pcm16({0, 8, -31616})},
        // Linear .au bytes are signed, buffer bytes unsigned around 128.
        {"linear 8-bit stereo", AuFile(2, 11025, 2, {1, 2, 3, 4}), true, 8, 2, {129, 130, 131, 132}},
        {"linear extremes", AuFile(2, 8000, 1, {0x00, 0x7F, 0x80, 0xFF}), true, 8, 1, {0x80, 0xFF, 0x00, 0x7F}},
        {"unknown size reads to the end", AuFile(2, 8000, 1, {5, 6, 7, 8}, 0xFFFFFFFFu), true, 8, 1,
         {133, 134, 135, 136}},
        {"16-bit linear", AuFile(3, 8000, 1, {1, 2, 3, 4}), false, 0, 0, {}},
        {"size beyond the file", AuFile(2, 8000, 1, {1, 2, 3, 4}, 5), false, 0, 0, {}},
        {"huge size", AuFile(2, 8000, 1, {1, 2, 3, 4}, 0xFFFFFFF0u), false, 0, 0, {}},
        {"no channels", AuFile(2, 8000, 0, {1, 2, 3, 4}), false, 0, 0, {}},
        {"rate 0", AuFile(2, 0, 1, {1, 2, 3, 4}), false, 0, 0, {}},
        {"not .snd", ".SND" + AuFile(2, 8000, 1, {1, 2, 3, 4}).substr(4), false, 0, 0, {}},
        {"short header", AuFile(2, 8000, 1, {}).substr(0, 20), false, 0, 0, {}},
    };
    DSoundManager mgr(kWindow, false);
    FakePakInterface pak;
    pak.Publish();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pak.Add("t.au", c.file);
        mgr.ReleaseSound(0);
        EXPECT_EQ(mgr.ReadAuFile(0, "t.au"), c.loads);
        EXPECT_EQ(pak.openHandles, 0);
        EXPECT_EQ(SoundBuffers(mgr), c.loads ? 1 : 0);
        if (!c.loads)
            continue;
        ASSERT_NE(mgr.GetSoundBuffer(0), nullptr);
        EXPECT_EQ(Samples(mgr, 0), c.samples);
        EXPECT_EQ(Format(mgr, 0).bitsPerSample, c.bits);
        EXPECT_EQ(Format(mgr, 0).channels, c.channels);
    }
}

// sine1000_8bit.au comes from SoX: "sox -D -n -r 8000 -c 1 -e signed-integer
// -b 8 -t au sine1000_8bit.au synth 0.01 sine 1000 vol 0.5", a 1000 Hz sine of
// half scale (amplitude 64) sampled 8 times a period.
TEST_F(SoundFilesTest, LinearAuFromAnotherToolPlaysItsSignal)
{
    std::ifstream in(std::string(ZELK_FIXTURES) + "/sound/sine1000_8bit.au", std::ios::binary);
    std::string au((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(au.size(), 44u);
    DSoundManager mgr(kWindow, false);
    FakePakInterface pak;
    pak.Publish();
    pak.Add("sine.au", au);
    ASSERT_TRUE(mgr.ReadAuFile(0, "sine.au"));
    std::vector<uint8_t> samples = Samples(mgr, 0);
    ASSERT_EQ(samples.size(), 80u);
    const double pi = 3.14159265358979;
    for (size_t i = 0; i < samples.size(); ++i)
        EXPECT_NEAR(int(samples[i]) - 128, 64 * std::sin(2 * pi * double(i) / 8), 6) << "sample " << i;
}

TEST_F(SoundFilesTest, OggDecodesAndATruncatedStreamFallsThroughToAu)
{
    std::ifstream in(std::string(ZELK_FIXTURES) + "/sound/tone.ogg", std::ios::binary);
    std::string ogg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(ogg.size(), 1000u);
    DSoundManager mgr(kWindow, false);
    FakePakInterface pak;
    pak.Publish();

    pak.Add("tone.ogg", ogg);
    ASSERT_TRUE(mgr.DecodeOgg(0, "tone.ogg"));
    plat::WaveFormat f = Format(mgr, 0);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.samplesPerSec, 22050u);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(mgr.GetSampleLength(0), 2205u * 4);
    // The tone is there: the left channel swings to about half of full scale.
    std::vector<uint8_t> s = Samples(mgr, 0);
    int16_t peak = 0;
    for (size_t i = 0; i + 1 < s.size(); i += 4)
        peak = std::max<int16_t>(peak, int16_t(s[i] | s[i + 1] << 8));
    EXPECT_GT(peak, 12000);
    EXPECT_LT(peak, 20000);
    EXPECT_EQ(pak.openHandles, 0);

    for (size_t cut : {ogg.size() - 200, ogg.size() / 2, size_t(40)}) {
        SCOPED_TRACE(cut);
        pak.Add("snd\\t.ogg", ogg.substr(0, cut));
        pak.Add("snd\\t.au", AuFile(2, 8000, 1, {3, 3, 3, 3}));
        pak.opened.clear();
        ASSERT_TRUE(mgr.LoadSound(1, "snd\\t"));
        EXPECT_EQ(pak.opened.back(), "snd\\t.au");
        EXPECT_EQ(Samples(mgr, 1), (std::vector<uint8_t>{131, 131, 131, 131}));
        EXPECT_EQ(pak.openHandles, 0);
        EXPECT_EQ(SoundBuffers(mgr), 2);
        ASSERT_EQ(unlink(CachePath("snd/t").c_str()), 0);
    }
}
