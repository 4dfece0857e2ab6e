#pragma once
#include <atomic>

namespace Zelk {

// Handles of the outside library; only it knows what they hold.
struct FSoundSample;
struct FSoundStream;
struct FMusicModule;

// The binding of "fmod.dll": every entry point the framework uses, bound by
// its exact export name. One binding is shared, with a use count, by the
// sound manager's mp3 support and the FMOD music interface.
struct FMOD_INSTANCE {
    // Loads the library and binds the entry points in table order. Without the
    // library nothing is bound (Loaded() is false); a missing entry point is
    // fatal.
    FMOD_INSTANCE();
    virtual ~FMOD_INSTANCE();
    bool Loaded() const { return mLoaded; }

    signed char (*FSOUND_SetBufferSize)(int lenMs) = nullptr;
    signed char (*FSOUND_SetHWND)(void* window) = nullptr;
    signed char (*FSOUND_Init)(int mixRate, int maxChannels, unsigned int flags) = nullptr;
    void (*FSOUND_Close)() = nullptr;
    FSoundSample* (*FSOUND_Sample_Load)(int index, const char* name, unsigned int mode, int memLength) = nullptr;
    FSoundSample* (*FSOUND_Sample_Alloc)(int index, int length, unsigned int mode, int defFreq, int defVol,
                                         int defPan, int defPri) = nullptr;
    void (*FSOUND_Sample_Free)(FSoundSample* sample) = nullptr;
    signed char (*FSOUND_Sample_Lock)(FSoundSample* sample, int offset, int length, void** ptr1, void** ptr2,
                                      unsigned int* len1, unsigned int* len2) = nullptr;
    signed char (*FSOUND_Sample_Unlock)(FSoundSample* sample, void* ptr1, void* ptr2, unsigned int len1,
                                        unsigned int len2) = nullptr;
    signed char (*FSOUND_Sample_SetLoopPoints)(FSoundSample* sample, int loopStart, int loopEnd) = nullptr;
    unsigned int (*FSOUND_Sample_GetLength)(FSoundSample* sample) = nullptr;
    signed char (*FSOUND_Sample_GetDefaults)(FSoundSample* sample, int* freq, int* vol, int* pan, int* pri) = nullptr;
    unsigned int (*FSOUND_Sample_GetMode)(FSoundSample* sample) = nullptr;
    int (*FSOUND_PlaySound)(int channel, FSoundSample* sample) = nullptr;
    signed char (*FSOUND_StopSound)(int channel) = nullptr;
    signed char (*FSOUND_SetVolume)(int channel, int volume) = nullptr;
    signed char (*FSOUND_SetPaused)(int channel, signed char paused) = nullptr;
    signed char (*FSOUND_SetLoopMode)(int channel, unsigned int mode) = nullptr;
    signed char (*FSOUND_IsPlaying)(int channel) = nullptr;
    FSoundStream* (*FSOUND_Stream_OpenFile)(const char* name, unsigned int mode, int memLength) = nullptr;
    signed char (*FSOUND_Stream_Close)(FSoundStream* stream) = nullptr;
    int (*FSOUND_Stream_Play)(int channel, FSoundStream* stream) = nullptr;
    FMusicModule* (*FMUSIC_LoadSong)(const char* name) = nullptr;
    signed char (*FMUSIC_PlaySong)(FMusicModule* module) = nullptr;
    signed char (*FMUSIC_StopSong)(FMusicModule* module) = nullptr;
    signed char (*FMUSIC_SetLooping)(FMusicModule* module, signed char looping) = nullptr;
    signed char (*FMUSIC_SetOrder)(FMusicModule* module, int order) = nullptr;
    signed char (*FMUSIC_SetPaused)(FMusicModule* module, signed char pause) = nullptr;
    signed char (*FMUSIC_SetMasterVolume)(FMusicModule* module, int volume) = nullptr;
    signed char (*FMUSIC_IsPlaying)(FMusicModule* module) = nullptr;

private:
    bool mLoaded = false;
};

// Sample mode bits the framework reads.
enum : unsigned int { FSOUND_8BITS = 0x08, FSOUND_MONO = 0x20, FSOUND_LOOP_NORMAL_MODE = 0x02 };

// Takes one use of the shared binding, making it on first use. When the
// library cannot be loaded the program shows "Can't find fmod.dll." and ends.
FMOD_INSTANCE* GetFmodInstance();
// Gives one use back; the binding goes when no use is left.
void FreeFmodInstance();
// The shared binding (null when nobody uses it) and its use count.
FMOD_INSTANCE* PeekFmodInstance();
int FmodUseCount();

} // namespace Zelk
