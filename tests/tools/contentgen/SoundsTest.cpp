// The synthesised sounds and music, read back through the program's own wave
// and Ogg readers.
#include "assets/Assets.h"
#include "synth/Music.h"
#include "synth/SoundEffects.h"
#include "synth/SoundFiles.h"

#include "framework/sound/PakByteSource.h"
#include "platform/audio/OggDecoder.h"
#include "platform/audio/WaveReader.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

using namespace contentgen;

namespace {

struct Decoded {
    int channels = 0;
    uint32_t rate = 0;
    std::vector<int16_t> samples;
};

// Decodes a file the way the game does, from a file through the archive
// layer: wave files through the wave reader, ".ogg" files through the Ogg
// decoder.
bool Decode(const std::string& path, const std::vector<uint8_t>& bytes, Decoded& out)
{
    testsupport::TempDir dir;
    dir.Write("sound", std::string(bytes.begin(), bytes.end()));
    Zelk::PakByteSource src(PakFOpen(dir / "sound", "rb"));
    std::vector<uint8_t> raw;
    if (path.size() > 4 && path.substr(path.size() - 4) == ".ogg") {
        plat::OggDecoder ogg;
        if (!ogg.Open(src))
            return false;
        out.channels = ogg.Channels();
        out.rate = ogg.Rate();
        raw.resize(size_t(ogg.Bytes()));
        if (!ogg.Read(raw.data(), raw.size())) 
            return false;
    } else {
        plat::WaveHeader header;
        if (!plat::WaveReader::ReadHeader(src, header) || header.bits != 16)
            return false;
        out.channels = header.channels;
        out.rate = header.rate;
        raw.resize(header.dataSize);
        if (!plat::WaveReader::ReadData(src, header, raw.data()))
            return false;
    }
    out.samples.resize(raw.size() / 2);
    std::memcpy(out.samples.data(), raw.data(), out.samples.size() * 2);
    return true;
}

double Peak(const std::vector<int16_t>& s)
{
    int peak = 0;
    for (int16_t v : s)
        peak = std::max(peak, std::abs(int(v)));
    return peak / 32767.0;
}

} // namespace

// Every entry of the table has its file, every file decodes to exactly the
// frames synthesised, in the format the sound list fixes, and is audible
// without clipping.
TEST(Sounds, EveryFileDecodesToTheLengthWritten)
{
    std::map<std::string, std::vector<uint8_t>> files;
    for (OutFile& f : SynthesizeSounds())
        EXPECT_TRUE(files.emplace(f.path, std::move(f.bytes)).second) << f.path << " written twice";

    std::map<std::string, long> expectedFrames;
    expectedFrames["music\\main_menu.ogg"] = ComposeSong(MenuSong()).Frames();
    expectedFrames["music\\level.ogg"] = ComposeSong(LevelSong()).Frames();
    for (const EffectRecipe& r : EffectRecipes())
        expectedFrames[std::string("sounds\\") + r.file] = r.make().Frames();

    std::vector<SoundEntry> table = SoundTable();
    ASSERT_EQ(table.size(), files.size());
    std::set<std::string> names;
    for (const SoundEntry& e : table) {
        SCOPED_TRACE(e.name);
        EXPECT_TRUE(names.insert(e.name).second) << "listed twice";
        ASSERT_EQ(files.count(e.file), 1u) << e.file;
        Decoded d;
        ASSERT_TRUE(Decode(e.file, files[e.file], d));
        EXPECT_EQ(d.rate, 44100u);
        EXPECT_EQ(d.channels, e.music ? 2 : 1);
        EXPECT_EQ(long(d.samples.size()) / d.channels, expectedFrames[e.file]);
        double peak = Peak(d.samples);
        EXPECT_GT(peak, 0.05);
        EXPECT_LT(peak, 1.0);
        if (!e.music) {
            EXPECT_TRUE(e.group == "ui" || e.group == "game");
        }
    }
    EXPECT_EQ(names.size(), 29u); // 27 sounds the game plays and 2 music streams
}

// The music loops are whole bars at their tempo, close to the planned length.
TEST(Sounds, MusicLoopsAreWholeBars)
{
    struct Case {
        const Song& song;
        double seconds;
    } cases[] = {{MenuSong(), 57.6}, {LevelSong(), 61.935}};
    for (const Case& c : cases) {
        double bars = c.song.bars * 4.0 * 60.0 / c.song.bpm;
        EXPECT_NEAR(bars, c.seconds, 0.01);
        EXPECT_EQ(ComposeSong(c.song).Frames(), std::lround(bars * kSampleRate));
    }
}

// A looping sound runs into its own start without a click: the step across
// the seam is no larger than the steps inside the sound.
TEST(Sounds, LoopingSoundsHaveNoSeam)
{
    for (const EffectRecipe& r : EffectRecipes()) {
        if (!r.loop)
            continue;
        SCOPED_TRACE(r.name);
        Pcm p = r.make();
        float largest = 0;
        for (size_t i = 1; i < p.samples.size(); ++i)
            largest = std::max(largest, std::fabs(p.samples[i] - p.samples[i - 1]));
        EXPECT_LE(std::fabs(p.samples.front() - p.samples.back()), largest + 1e-6f);
    }
}

// The wave header says what the samples are: 16-bit PCM, the data chunk
// exactly the samples.
TEST(Sounds, WaveHeaderDescribesTheSamples)
{
    Pcm p(1, 0.01);
    p.samples[0] = 1.5f; // clipped
    p.samples[1] = -0.5f;
    std::vector<uint8_t> bytes = EncodeWave(p);
    ASSERT_EQ(bytes.size(), 44u + p.samples.size() * 2);
    Decoded d;
    ASSERT_TRUE(Decode("x.wav", bytes, d));
    EXPECT_EQ(d.samples[0], 32767);
    EXPECT_EQ(d.samples[1], -16384);
    EXPECT_EQ(d.samples[2], 0);
}
