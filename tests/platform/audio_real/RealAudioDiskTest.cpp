#include "framework/sound/DSoundManager.h"
#include "framework/sound/SoundInstance.h"
#include "platform/NullPlatform.h"
#include "platform/audio/RealAudioOutput.h"
#include "tests/framework/sound/SoundTestUtil.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace soundtest;

// A generated wave goes through the sound manager, the mixer and SDL's audio
// thread into the file SDL's "disk" driver writes instead of a device.
TEST(RealAudio, APlayedWaveReachesTheDevice)
{
    testsupport::TempDir tmp;
    std::string raw = tmp / "out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);

    plat::NullPlatform platform;
    plat::RealAudioOutput device;
    plat::Services services = plat::Get();
    services.audio = &device;
    plat::Install(services);

    std::vector<int16_t> square;
    for (int i = 0; i < 2205; ++i) // 0.1 s at 22050 Hz
        square.push_back((i / 25) % 2 ? 10000 : -10000);
    tmp.Write("square.wav", WaveFile(1, 22050, 16, Pcm16(square)));
    {
        Zelk::DSoundManager mgr(1, false);
        ASSERT_TRUE(mgr.Initialized());
        ASSERT_TRUE(mgr.LoadSound(0, tmp / "square"));
        Zelk::SoundInstance* inst = mgr.GetSoundInstance(0);
        ASSERT_NE(inst, nullptr);
        ASSERT_TRUE(inst->Play(false, false));
        // SDL's thread plays it in real time; wait (bounded) until it is through.
        auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (inst->IsPlaying() && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_FALSE(inst->IsPlaying());
    } // the device closes and SDL finishes the file

    std::string bytes = tmp.Read("out.raw");
    size_t loud = 0;
    int peak = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        int s = int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        if (s != 0)
            ++loud;
        peak = std::max(peak, std::abs(s));
    }
    // 4410 stereo frames of the tone at the output rate, nearly all of them non-zero.
    EXPECT_GT(loud, 8000u);
    EXPECT_GE(peak, 9900);
    EXPECT_LE(peak, 10000);
}
