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
        testsupport::TempDir tmp;
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (tmp / "out.raw").c_str(), 1);

        PakWriter writer;
        writer.Add(std::string("sfx\\") + c.file, c.bytes, 0);
        std::string archive, error;
        ASSERT_TRUE(writer.Build(archive, error)) << error;
        tmp.Write("data.pak", archive);

        plat::NullPlatform platform;
        plat::RealAudioOutput device;
        plat::SoundLibrary library(true);
        plat::Services services = plat::Get();
        services.audio = &device;
        services.sound = &library;
        plat::Install(services);
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

        std::string bytes = tmp.Read("out.raw");
        size_t loud = 0;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            if (int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8) != 0)
                ++loud;
        EXPECT_GT(loud, c.loudSamples);
    }
}
