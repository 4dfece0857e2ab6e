#include "game/core/SoundSystem.h"
#include "framework/resources/PakFileAccess.h"
#include "platform/Platform.h"

#include <cstdlib>

namespace {

int gSoundUsers = 0; // changed under the library's hold

intptr_t OpenSound(const char* path)
{
    PakFile* f = PakFOpen(path, "rb");
    return f ? reinterpret_cast<intptr_t>(f) : -1;
}

long SeekSound(intptr_t file, long offset, int origin)
{
    PakFile* f = reinterpret_cast<PakFile*>(file);
    PakFSeek(f, offset, origin);
    return PakFTell(f);
}

int ReadSound(intptr_t file, void* buffer, int bytes)
{
    return int(PakFRead(buffer, 1, size_t(bytes), reinterpret_cast<PakFile*>(file)));
}

void CloseSound(intptr_t file) { PakFClose(reinterpret_cast<PakFile*>(file)); }

void* AllocateSound(size_t bytes) { return bytes ? malloc(bytes) : nullptr; }

void FreeSound(void* memory)
{
    if (memory)
        free(memory);
}

} // namespace

plat::SoundLibrary& GameSoundLibrary()
{
    if (plat::SoundLibrary* lib = plat::Get().sound)
        return *lib;
    static plat::SoundLibrary unstarted(false);
    return unstarted;
}

SoundSystem::SoundSystem() = default;

SoundSystem::~SoundSystem()
{
    // Only a user that Init counted is released.
    if (!mCounted)
        return;
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    if (--gSoundUsers == 0) {
        lib.Stop();
        lib.Free();
    }
}

void SoundSystem::Init(plat::WindowHandle mainWindow)
{
    plat::SoundLibrary& lib = GameSoundLibrary();
    plat::SoundLibrary::Hold hold(lib);
    if (gSoundUsers == 0) {
        plat::SoundLibrary::InitParams params;
        params.window = intptr_t(mainWindow);
        const int32_t values[12] = {0, 44100, 16, 32, 1, 1, 0, 500, 0, 0, 0, 0};
        std::copy(values, values + 12, params.values);
        if (lib.Init(params) >= 0) {
            lib.SetSpeakerMode(3);
            lib.SetFileCallbacks(&OpenSound, &SeekSound, &ReadSound, &CloseSound);
            lib.SetMemoryCallbacks(&AllocateSound, &FreeSound);
        }
    }
    if (!mCounted) {
        ++gSoundUsers;
        mCounted = true;
    }
}

void SoundSystem::PauseAll(bool pause) { GameSoundLibrary().Pause(pause); }

int SoundSystem::UseCount()
{
    plat::SoundLibrary::Hold hold(GameSoundLibrary());
    return gSoundUsers;
}
