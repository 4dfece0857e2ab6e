#include "game/core/PakInterface.h"
#include "game/core/SfxManager.h"
#include "game/core/SoundSystem.h"
#include "game/core/XmlFunctions.h"
#include "platform/NullPlatform.h"
#include "platform/audio/RealAudioOutput.h"
#include "platform/soundlib/SoundLibrary.h"
#include "tests/framework/sound/SoundTestUtil.h"
#include "tests/game/core/Utf16File.h"
#include "tests/support/TempDir.h"
#include "tools/makepak/PakWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

using namespace soundtest;

namespace {

std::string Fixture(const std::string& name)
{
    std::ifstream in(std::string(ZELK_FIXTURES) + "/sound/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string SquareWave()
{
    std::vector<int16_t> square;
    for (int i = 0; i < 4410; ++i) // 0.1 s at 44100 Hz
        square.push_back((i / 50) % 2 ? 8000 : -8000);
    return WaveFile(1, 44100, 16, Pcm16(square));
}

// SDL's "disk" audio driver writing into a file of a temporary folder, with
// the real audio output and the real sound library over the null platform.
struct DiskSound {
    testsupport::TempDir tmp;
    bool driverChosen = setenv("SDL_AUDIODRIVER", "disk", 1) == 0 &&
                        setenv("SDL_DISKAUDIOFILE", (tmp / "out.raw").c_str(), 1) == 0;
    plat::NullPlatform platform;
    plat::RealAudioOutput device;
    plat::SoundLibrary library{true};

    DiskSound()
    {
        plat::Services services = plat::Get();
        services.audio = &device;
        services.sound = &library;
        plat::Install(services);
    }
    // The interleaved stereo output, complete once the device has closed.
    std::vector<int16_t> Output() const
    {
        const std::string bytes = tmp.Read("out.raw");
        std::vector<int16_t> out(bytes.size() / 2);
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = int16_t(uint8_t(bytes[2 * i]) | uint8_t(bytes[2 * i + 1]) << 8);
        return out;
    }
};

} // namespace

// A sound packed into an archive reaches SDL's "disk" audio driver: read
// through the archive layer by the library's file callbacks, played by the
// sound-effect manager on the mixer that SDL's thread pulls. The Ogg one is
// decoded on the library's own thread while SDL's thread plays it.
TEST(GameSoundDisk, AnEffectFromTheArchiveIsHeard)
{
    const struct {
        const char* file;
        std::string bytes;
        size_t loudSamples; // of the stereo output
    } cases[] = {
        {"tone.wav", SquareWave(), 8000},    // 4410 frames of the square wave
        {"tone.ogg", Fixture("second.ogg"), 40000}, // one second, 44100 frames
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        DiskSound sound;
        ASSERT_TRUE(sound.driverChosen);
        const testsupport::TempDir& tmp = sound.tmp;
        plat::SoundLibrary& library = sound.library;

        PakWriter writer;
        writer.Add(std::string("sfx\\") + c.file, c.bytes, 0);
        std::string archive, error;
        ASSERT_TRUE(writer.Build(archive, error)) << error;
        tmp.Write("data.pak", archive);
        {
            PakInterface pak;
            ASSERT_TRUE(pak.AddPakFile(tmp / "data.pak"));
            SoundSystem system;
            system.Init(1);
            XmlDocument doc;
            XmlCreateDocument(doc);
            std::wstring path(c.file, c.file + std::strlen(c.file));
            tmp.Write("office.xml", Utf16File(L"<office><sounds><sound name=\"tone\" path=\"SFX/" + path +
                                              L"\"/></sounds></office>"));
            ASSERT_TRUE(XmlLoadFile(tmp / "office.xml", doc));
            SfxManager sfx;
            sfx.Load(XmlNode(doc).SelectSingle(L"office"));
            sfx.Play("tone");
            ASSERT_EQ(library.ChannelStatus(1), plat::SoundLibrary::kPlaying);
            // SDL's thread plays it in real time; wait (bounded) until it is through.
            auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (library.ChannelStatus(1) != plat::SoundLibrary::kEnded &&
                   std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            EXPECT_EQ(library.ChannelStatus(1), plat::SoundLibrary::kEnded);
        } // the library is freed and the device closed: SDL finishes the file

        const std::vector<int16_t> out = sound.Output();
        EXPECT_GT(size_t(std::count_if(out.begin(), out.end(), [](int16_t v) { return v != 0; })), c.loudSamples);
    }
}

// Volume steps of a playing channel (what the music fades do, from another
// thread than SDL's, which pulls the mix) make no step in the wave: a
// full-scale 71 Hz tone stepped down by fifths changes from sample to sample
// no more than the tone itself does (an unramped fifth is over 6000).
TEST(GameSoundDisk, VolumeStepsOfAPlayingChannelLeaveNoStepInTheWave)
{
    DiskSound sound;
    ASSERT_TRUE(sound.driverChosen);
    const std::vector<int16_t> tone = LowTone();
    const int ownStep = LargestStep(tone);
    sound.tmp.Write("tone.wav", WaveFile(1, 44100, 16, Pcm16(tone)));
    plat::SoundLibrary& library = sound.library;
    {
        SoundSystem system;
        system.Init(1);
        const int sample = library.LoadSample((sound.tmp / "tone.wav").c_str(), 0, nullptr);
        ASSERT_GT(sample, 0);
        const int channel = library.PlaySample(sample, true, 0, 1, 0, 100, 44100, 50);
        ASSERT_GT(channel, 0);
        // Each volume holds for 50 ms of mixed sound (bounded wait on SDL's thread).
        plat::Mixer& mixer = sound.device.GetMixer();
        auto hold = [&] {
            const uint64_t until = mixer.FramesMixed() + 2205;
            auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (mixer.FramesMixed() < until && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            return mixer.FramesMixed() >= until;
        };
        ASSERT_TRUE(hold());
        for (int volume : {80, 60, 40, 20, 0}) {
            library.SetChannelVolume(channel, volume);
            ASSERT_TRUE(hold());
        }
        library.StopChannel(channel);
    }
    const std::vector<int16_t> out = sound.Output();
    const int largest = LargestStep(out, 2);
    RecordProperty("largest_change", largest);
    EXPECT_GT(*std::max_element(out.begin(), out.end()), 32000) << "the tone played at full volume";
    // A ramp of a fifth over 5 ms adds under 30 to the tone's own change.
    EXPECT_LE(largest, ownStep + 32) << "the tone's own largest change is " << ownStep;
}
