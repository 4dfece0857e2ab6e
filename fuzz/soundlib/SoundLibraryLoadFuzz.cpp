// Loads arbitrary bytes as a sample of the sound library, through in-memory
// file callbacks, decodes it and plays what loads for a moment.
#include "platform/NullPlatform.h"
#include "tests/platform/soundlib/MemorySoundFiles.h"

namespace {

struct LoadFuzz {
    LoadFuzz()
    {
        platform.sound.Init(soundtest::GameParams());
        soundtest::MemorySoundFiles::Get().Install(platform.sound);
        platform.sound.SetMemoryCallbacks(&soundtest::CountingMemory::Allocate, &soundtest::CountingMemory::Release);
    }
    plat::NullPlatform platform;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static LoadFuzz fuzz;
    soundtest::MemorySoundFiles::Get().Put("input", std::string(reinterpret_cast<const char*>(data), size));
    plat::NullSoundLibrary& lib = fuzz.platform.sound;
    // An Ogg sample plays its first block before the rest is decoded.
    lib.HoldDecoding();
    int sample = lib.LoadSample("input", 0, nullptr);
    if (sample) {
        lib.PlaySample(sample, false, 1, 1, 0, 100, 44100, 50);
        lib.DecodeBlocks(1);
        lib.Advance(10);
        lib.HoldDecoding(false);
        lib.Advance(20);
        lib.UnloadSample(sample);
    }
    lib.TakeCalls();
    return 0;
}
