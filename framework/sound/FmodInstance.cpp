#include "framework/sound/FmodInstance.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/Platform.h"
#include "platform/app/ExitCodes.h"
#include "platform/app/ProcessEnd.h"
#include "platform/debug/DebugSink.h"
#include "platform/fmod/FmodLibrary.h"
#include "platform/msgbox/MessageBoxes.h"

#include <cstring>

namespace Zelk {

namespace {

FMOD_INSTANCE* gFmod = nullptr;
std::atomic<int> gFmodUses{0};

[[noreturn]] void FatalError(const std::string& text)
{
    plat::OutputDebugString(text + "\n");
    if (plat::MessageBoxes* boxes = plat::Get().messageBoxes)
        boxes->Show(StringToWString(text), L"Error", plat::MB_OK | plat::MB_ICONERROR);
    if (gAppBase)
        gAppBase->ExitNow(plat::kExitMissingLibrary);
    plat::EndProcess(plat::kExitMissingLibrary);
}

template <typename Fn> bool Bind(Fn& slot, const char* name)
{
    void* p = plat::GetFmodExport(name);
    if (!p)
        return false;
    static_assert(sizeof(Fn) == sizeof(void*), "entry points are plain function pointers");
    std::memcpy(&slot, &p, sizeof p);
    return true;
}

} // namespace

FMOD_INSTANCE::FMOD_INSTANCE()
{
    if (!plat::LoadFmodLibrary())
        return;
    mLoaded = true;
    auto bind = [](auto& slot, const char* name) {
        if (!Bind(slot, name))
            FatalError(StrFormat("\"%s\" function not found in fmod.dll", name));
    };
    bind(FSOUND_SetBufferSize, "_FSOUND_SetBufferSize@4");
    bind(FSOUND_SetHWND, "_FSOUND_SetHWND@4");
    bind(FSOUND_Init, "_FSOUND_Init@12");
    bind(FSOUND_Close, "_FSOUND_Close@0");
    bind(FSOUND_Sample_Load, "_FSOUND_Sample_Load@16");
    bind(FSOUND_Sample_Alloc, "_FSOUND_Sample_Alloc@28");
    bind(FSOUND_Sample_Free, "_FSOUND_Sample_Free@4");
    bind(FSOUND_Sample_Lock, "_FSOUND_Sample_Lock@28");
    bind(FSOUND_Sample_Unlock, "_FSOUND_Sample_Unlock@20");
    bind(FSOUND_Sample_SetLoopPoints, "_FSOUND_Sample_SetLoopPoints@12");
    bind(FSOUND_Sample_GetLength, "_FSOUND_Sample_GetLength@4");
    bind(FSOUND_Sample_GetDefaults, "_FSOUND_Sample_GetDefaults@20");
    bind(FSOUND_Sample_GetMode, "_FSOUND_Sample_GetMode@4");
    bind(FSOUND_PlaySound, "_FSOUND_PlaySound@8");
    bind(FSOUND_StopSound, "_FSOUND_StopSound@4");
    bind(FSOUND_SetVolume, "_FSOUND_SetVolume@8");
    bind(FSOUND_SetPaused, "_FSOUND_SetPaused@8");
    bind(FSOUND_SetLoopMode, "_FSOUND_SetLoopMode@8");
    bind(FSOUND_IsPlaying, "_FSOUND_IsPlaying@4");
    bind(FSOUND_Stream_OpenFile, "_FSOUND_Stream_OpenFile@12");
    bind(FSOUND_Stream_Close, "_FSOUND_Stream_Close@4");
    bind(FSOUND_Stream_Play, "_FSOUND_Stream_Play@8");
    bind(FMUSIC_LoadSong, "_FMUSIC_LoadSong@4");
    bind(FMUSIC_PlaySong, "_FMUSIC_PlaySong@4");
    bind(FMUSIC_StopSong, "_FMUSIC_StopSong@4");
    bind(FMUSIC_SetLooping, "_FMUSIC_SetLooping@8");
    bind(FMUSIC_SetOrder, "_FMUSIC_SetOrder@8");
    bind(FMUSIC_SetPaused, "_FMUSIC_SetPaused@8");
    bind(FMUSIC_SetMasterVolume, "_FMUSIC_SetMasterVolume@8");
    bind(FMUSIC_IsPlaying, "_FMUSIC_IsPlaying@4");
}

FMOD_INSTANCE::~FMOD_INSTANCE()
{
    if (mLoaded)
        plat::FreeFmodLibrary();
}

FMOD_INSTANCE* GetFmodInstance()
{
    ++gFmodUses;
    if (!gFmod) {
        gFmod = new FMOD_INSTANCE();
        if (!gFmod->Loaded())
            FatalError("Can't find fmod.dll.");
    }
    return gFmod;
}

void FreeFmodInstance()
{
    if (gFmod && --gFmodUses < 1) {
        delete gFmod;
        gFmod = nullptr;
    }
}

FMOD_INSTANCE* PeekFmodInstance() { return gFmod; }

int FmodUseCount() { return gFmodUses.load(); }

} // namespace Zelk
