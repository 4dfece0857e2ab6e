#pragma once
// What the sound reader targets share: one null platform, one sound manager
// and the in-memory archive layer that hands the input to the reader.
#include "framework/sound/DSoundManager.h"
#include "fuzz/sound/MemoryPak.h"
#include "platform/NullPlatform.h"

struct SoundReaderFuzz {
    SoundReaderFuzz() : manager(1, false) { PublishPakInterface(&pak); }
    plat::NullPlatform platform;
    Zelk::DSoundManager manager;
    MemoryPak pak;

    static SoundReaderFuzz& Get()
    {
        static SoundReaderFuzz fuzz;
        return fuzz;
    }
    // Serves the input under the name and runs the reader on it.
    template <typename Reader> void Run(const char* name, const uint8_t* data, size_t size, Reader reader)
    {
        pak.Serve(name, data, size);
        (manager.*reader)(0, name);
        manager.ReleaseSound(0);
    }
};
